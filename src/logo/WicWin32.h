// Windows builds only: the Windows Imaging Component's factory for the calling thread,
// with COM initialised for as long as it is used.
#pragma once

#include <windows.h>

#include <wincodec.h>

namespace printset {

// COM on the calling thread for the object's lifetime (a multi-threaded apartment, or the
// apartment the thread has already) and WIC's factory in it. Never throws: Factory() is
// null when WIC is not there.
class TWicSession {
 public:
  TWicSession();
  ~TWicSession();
  TWicSession(const TWicSession&) = delete;
  TWicSession& operator=(const TWicSession&) = delete;
  IWICImagingFactory* Factory() const { return Factory_; }

 private:
  bool Uninitialise_ = false;
  IWICImagingFactory* Factory_ = nullptr;
};

// Releases a COM interface at the end of a scope.
template <typename T>
class TComRef {
 public:
  TComRef() = default;
  ~TComRef() {
    if (Pointer_) Pointer_->Release();
  }
  TComRef(const TComRef&) = delete;
  TComRef& operator=(const TComRef&) = delete;
  T* Get() const { return Pointer_; }
  T* operator->() const { return Pointer_; }
  // Where a call that creates the interface stores it; the reference must be empty.
  T** Out() { return &Pointer_; }

 private:
  T* Pointer_ = nullptr;
};

}  // namespace printset
