#pragma once
// The command line a second start hands to the running instance. Layout, little-endian:
//   u32 magic 0x50504656 ("VFPP"), u32 total size = 12 + 522 * count, u32 count,
//   then count slots of 261 UTF-16 units, each NUL-terminated and zero-filled.
// Pure functions over bytes; safe on any thread and on any input.

#include <cstddef>
#include <cstdint>
#include <QByteArray>
#include <QStringList>

namespace tessary {

namespace CommandLinePacket {

constexpr uint32_t kMagic = 0x50504656;
constexpr uint32_t kHeaderSize = 12;
constexpr uint32_t kSlotUnits = 261;
constexpr uint32_t kSlotBytes = kSlotUnits * 2;
// Largest count whose total size still fits the 32-bit size field.
constexpr uint32_t kMaxCount = (UINT32_MAX - kHeaderSize) / kSlotBytes;

// One slot per argument; an argument of 260 units or more is cut to 260 so that the
// terminator always fits in its slot.
QByteArray Build(const QStringList& arguments);

// The paths of an accepted packet, in order. A packet is accepted only when the magic
// matches, the received size equals the stored total size, and the total size equals
// 12 + 522 * count; anything else yields an empty list.
QStringList Parse(const char* data, size_t size);
inline QStringList Parse(const QByteArray& bytes) { return Parse(bytes.constData(), size_t(bytes.size())); }

} // namespace CommandLinePacket

} // namespace tessary
