// The pictures of the slip windows, compiled into the program.
#pragma once

namespace corpo {
// Makes ":/schedine/..." available; call before building a slip window.
void InizializzaRisorseSchedine();
} // namespace corpo
