// The dots as PNG on the Windows Imaging Component's PNG encoder.
#include <climits>

#include <objidl.h>

#include "logo/DotsPng.h"
#include "logo/WicWin32.h"

namespace printset {

namespace {

// The file's colours: index 0 white (no dot), 1 black (a dot), as the bitmap's bits are.
constexpr WICColor kPaletteColours[] = {0xFFFFFFFF, 0xFF000000};

// The encoded frame written into `stream`: one-bit indexed pixels where the encoder takes
// them; else its black-and-white format, where 0 is black, from the inverted rows.
bool WriteFrame(IWICImagingFactory* factory, IStream* stream, const TDotBitmap& dots, std::string& error) {
  TComRef<IWICBitmapEncoder> encoder;
  TComRef<IWICBitmapFrameEncode> frame;
  TComRef<IPropertyBag2> properties;
  TComRef<IWICPalette> palette;
  if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out())) ||
      FAILED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(frame.Out(), properties.Out())) || FAILED(frame->Initialize(properties.Get())) ||
      FAILED(frame->SetSize(static_cast<UINT>(dots.Width), static_cast<UINT>(dots.Height)))) {
    error = "no PNG encoder";
    return false;
  }
  WICPixelFormatGUID format = GUID_WICPixelFormat1bppIndexed;
  if (FAILED(frame->SetPixelFormat(&format))) {
    error = "no one-bit pixel format";
    return false;
  }
  const size_t rowBytes = static_cast<size_t>(dots.RowBytes());
  std::vector<uint8_t> rows = dots.Bits;
  if (IsEqualGUID(format, GUID_WICPixelFormat1bppIndexed)) {
    if (FAILED(factory->CreatePalette(palette.Out())) ||
        FAILED(palette->InitializeCustom(const_cast<WICColor*>(kPaletteColours), 2)) ||
        FAILED(frame->SetPalette(palette.Get()))) {
      error = "no palette";
      return false;
    }
  } else if (IsEqualGUID(format, GUID_WICPixelFormatBlackWhite)) {
    for (uint8_t& byte : rows) byte = static_cast<uint8_t>(~byte);
  } else {
    error = "no one-bit pixel format";
    return false;
  }
  if (FAILED(frame->WritePixels(static_cast<UINT>(dots.Height), static_cast<UINT>(rowBytes),
                                static_cast<UINT>(rows.size()), rows.data())) ||
      FAILED(frame->Commit()) || FAILED(encoder->Commit())) {
    error = "the PNG encoder failed";
    return false;
  }
  return true;
}

}  // namespace

bool EncodeDotsPng(const TDotBitmap& dots, std::vector<uint8_t>& bytes, std::string& error) {
  if (dots.IsNull() || static_cast<uint64_t>(dots.RowBytes()) * static_cast<uint64_t>(dots.Height) > INT_MAX ||
      dots.Bits.size() != static_cast<size_t>(dots.RowBytes()) * static_cast<size_t>(dots.Height)) {
    error = "too large";
    return false;
  }
  const TWicSession session;
  if (!session.Factory()) {
    error = "no Windows Imaging Component";
    return false;
  }
  TComRef<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Out()))) {
    error = "out of memory";
    return false;
  }
  if (!WriteFrame(session.Factory(), stream.Get(), dots, error)) return false;
  // The stream's size is what was written; it is read back from its start.
  STATSTG status{};
  LARGE_INTEGER start{};
  if (FAILED(stream->Stat(&status, STATFLAG_NONAME)) || status.cbSize.QuadPart > INT_MAX ||
      FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) {
    error = "the PNG stream cannot be read";
    return false;
  }
  bytes.assign(static_cast<size_t>(status.cbSize.QuadPart), 0);
  ULONG read = 0;
  if (FAILED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read)) || read != bytes.size()) {
    error = "the PNG stream cannot be read";
    return false;
  }
  return true;
}

}  // namespace printset
