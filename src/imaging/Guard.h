#pragma once
// Internal: the boundary at which imaging operations turn memory exhaustion into a false
// result instead of letting it escape.

#include <new>
#include <stdexcept>

namespace tessary::detail {

template <class F>
bool Guarded(F&& f) noexcept
{
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

} // namespace tessary::detail
