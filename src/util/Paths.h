#pragma once
// Path normalisation and comparison. "/" is the separator; the file system is case-sensitive.

#include <QString>

namespace tessary {

// Trims blanks, uses "/" separators, and appends "/" to a path naming an existing folder.
QString NormalizePath(const QString& path);
// Two paths name the same file when their canonical forms (or, for a missing file, their
// cleaned absolute forms) are equal.
bool SamePath(const QString& a, const QString& b);
// Appends "/" when missing (an empty path stays empty).
QString WithTrailingSlash(const QString& path);

} // namespace tessary
