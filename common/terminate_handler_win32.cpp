// Compiled into each shipped program. The C++ runtime's default terminate
// handler prints the demangled type of an uncaught exception, and so links
// the whole demangler (tens of kilobytes) into a GUI program that has no
// console to print to. This definition takes the place of the runtime's
// own: an uncaught exception aborts, and the demangler stays out.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}
