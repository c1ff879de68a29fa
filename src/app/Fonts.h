#pragma once
// Registers the "Tahoma" faces the interface draws with (from the system's font package);
// the default sans font is used when they are absent. UI thread, after the application exists.

namespace tessary {

// True when both faces were registered.
bool RegisterInterfaceFonts();

} // namespace tessary
