#pragma once
// Replacing a file so that a crash, a kill or a full disk leaves either the old or the new
// content, never a mix: the bytes go to a temporary file in the same folder, which is flushed
// to disk and then renamed over the target.

#include <QByteArray>
#include <QString>

namespace tessary {

// False when any step fails; the previous file is then untouched and the temporary file gone.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace tessary
