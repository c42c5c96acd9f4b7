#pragma once

namespace winsim {

// Output bytes go out as written: CR LF must not become CR CR LF on Windows.
void useBinaryStandardOutput();

}  // namespace winsim
