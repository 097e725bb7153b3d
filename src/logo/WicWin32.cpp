#include "logo/WicWin32.h"

namespace printset {

TWicSession::TWicSession() {
  // S_FALSE: COM was initialised on this thread already, and the count must be given back
  // all the same; RPC_E_CHANGED_MODE: the thread is in a single-threaded apartment, which
  // serves as well and is not ours to end.
  const HRESULT initialised = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  Uninitialise_ = SUCCEEDED(initialised);
  if (FAILED(initialised) && initialised != RPC_E_CHANGED_MODE) return;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&Factory_))))
    Factory_ = nullptr;
}

TWicSession::~TWicSession() {
  if (Factory_) Factory_->Release();
  if (Uninitialise_) CoUninitialize();
}

}  // namespace printset
