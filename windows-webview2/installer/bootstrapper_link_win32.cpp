#include "installer/bootstrapper_link.h"

// The test build names its local server and accepts its unsigned stand-in.
#ifdef VELMORA_TEST_BOOTSTRAPPER_LINK
const wchar_t* const BootstrapperLink = VELMORA_TEST_BOOTSTRAPPER_LINK;
const bool BootstrapperMustBeSignedByMicrosoft = false;
const unsigned long BootstrapperWaitUnderWine = VELMORA_TEST_BOOTSTRAPPER_WAIT;
#else
// Microsoft's published link to the WebView2 Evergreen bootstrapper.
const wchar_t* const BootstrapperLink = L"https://go.microsoft.com/fwlink/p/?LinkId=2124703";
const bool BootstrapperMustBeSignedByMicrosoft = true;
// The runtime's download and install take a minute or two on a working
// system; ten minutes without an end is a bootstrapper stuck under Wine.
const unsigned long BootstrapperWaitUnderWine = 10 * 60 * 1000;
#endif
