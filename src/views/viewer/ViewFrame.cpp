#include "ViewFrame.h"

#include "imaging/Effects.h"

namespace tessary {

DibSize FrameSize(const ScreenPhoto& photo, DibSize client, const ViewOptions& options)
{
    return ViewSize(photo.photoSize, client, options.enlargeSmallImages);
}

bool ComposeFrame(const ScreenPhoto& photo, DibSize client, const ViewOptions& options, DibImage24& out)
{
    if (!photo.image.IsValid())
        return false;
    const DibSize size = FrameSize(photo, client, options);
    DibImage24 frame;
    if (size.IsEmpty() || !frame.Create24(size))
        return false;
    const bool filled = options.showTransparency
                            ? Checkerboard(frame, kCheckerSquare, kCheckerLight, kCheckerDark)
                            : frame.Clear(options.background);
    if (!filled)
        return false;
    const bool drawn = photo.image.Size() == size
                           ? photo.image.Draw(frame, DibPoint{0, 0})
                           : photo.image.DrawScaled(frame, frame.Rect(), photo.image.color.Rect());
    if (!drawn)
        return false;
    out = std::move(frame);
    return true;
}

} // namespace tessary
