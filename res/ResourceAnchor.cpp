// The artwork library's own translation unit; the resources themselves come from the resource
// compiler and register themselves when the program starts.
namespace tessary::resources {
int Anchor()
{
    return 0;
}
} // namespace tessary::resources
