#pragma once
// The events the thumbnail services post to the object that asked (QCoreApplication::
// postEvent; the receiver's thread handles them). Workers post them and never touch a widget.

#include <cstdint>
#include <QEvent>

namespace tessary {

// A thumbnail (list cell or preview) for the item now exists.
inline constexpr QEvent::Type kThumbReadyEvent = QEvent::Type(0x8000 + 1002);
// The thumbnail list made a new image list; the list window installs it again.
inline constexpr QEvent::Type kThumbListResetEvent = QEvent::Type(0x8000 + 1003);

class ThumbEvent : public QEvent {
public:
    ThumbEvent(QEvent::Type type, int32_t itemId)
        : QEvent(type)
        , m_itemId(itemId)
    {
    }
    int32_t ItemId() const { return m_itemId; }

private:
    int32_t m_itemId;
};

} // namespace tessary
