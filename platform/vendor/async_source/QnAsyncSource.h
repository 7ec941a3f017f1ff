// The asynchronous file source module's filter class and its second interface
// ("Filter/QNAsyncSource.ax").
#pragma once

#include <com/unknwn.h>

// {527E1AD6-58AE-4382-AFAA-230EAAE87A46}
DEFINE_GUID(CLSID_QnAsyncSource, 0x527E1AD6, 0x58AE, 0x4382, 0xAF, 0xAA, 0x23, 0x0E, 0xAA, 0xE8, 0x7A, 0x46);
// {1D6BD214-BC73-4245-A39B-73447C771F9F}
DEFINE_GUID(IID_IQnSourceReady, 0x1D6BD214, 0xBC73, 0x4245, 0xA3, 0x9B, 0x73, 0x44, 0x7C, 0x77, 0x1F, 0x9F);

struct IQnSourceReady : public IUnknown {
  // Slot 4: S_OK when a loaded file's stream type is known, S_FALSE when the source has
  // nothing it can offer (no file, or bytes of no known kind). Both arguments are 0.
  STDMETHOD(Prepare)(DWORD reserved1, DWORD reserved2) = 0;

 protected:
  ~IQnSourceReady() = default;
};
