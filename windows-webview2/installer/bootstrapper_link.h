#pragma once

// Where the runtime's bootstrapper comes from and whether it must carry
// Microsoft's signature. Each program that links the installer defines
// these once (bootstrapper_link_win32.cpp): the shipped host with
// Microsoft's link, the installer's test build with a local one.
extern const wchar_t* const BootstrapperLink;
extern const bool BootstrapperMustBeSignedByMicrosoft;
// How long a bootstrapper may run under Wine before the host stops waiting
// (it may never finish there); on Windows it is waited for.
extern const unsigned long BootstrapperWaitUnderWine;
