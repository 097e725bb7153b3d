// The picture decoder on the Windows Imaging Component (every format WIC has a codec for:
// BMP, PNG, GIF, JPEG, TIFF, ICO and what else is installed).
#include <climits>

#include "logo/PictureDecoder.h"
#include "logo/WicWin32.h"

namespace printset {

namespace {

// The first frame of the picture in `bytes`, decoded as far as its header: the frame
// knows its size and pixel format, and decodes its pixels when they are copied out.
// False when no codec reads the bytes.
bool OpenFrame(const TWicSession& session, const std::vector<uint8_t>& bytes, TComRef<IWICStream>& stream,
               TComRef<IWICBitmapDecoder>& decoder, TComRef<IWICBitmapFrameDecode>& frame) {
  IWICImagingFactory* factory = session.Factory();
  if (!factory || bytes.empty() || bytes.size() > UINT_MAX) return false;
  if (FAILED(factory->CreateStream(stream.Out()))) return false;
  // WIC only reads from the memory it is given.
  BYTE* data = const_cast<BYTE*>(bytes.data());
  if (FAILED(stream->InitializeFromMemory(data, static_cast<DWORD>(bytes.size())))) return false;
  if (FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Out())))
    return false;
  return SUCCEEDED(decoder->GetFrame(0, frame.Out()));
}

// Whether pixels of `format` hold a fourth byte that is no alpha (a 32-bit bitmap without
// an alpha mask): the converter need not make those opaque. Every other format's alpha,
// a palette's entries' included (PNG with tRNS), is the converter's.
bool FourthByteIsNoAlpha(const WICPixelFormatGUID& format) {
  return IsEqualGUID(format, GUID_WICPixelFormat32bppBGR) || IsEqualGUID(format, GUID_WICPixelFormat32bppRGB);
}

class TWicPictureDecoder final : public TPictureDecoder {
 public:
  bool AnnouncedSize(const std::vector<uint8_t>& bytes, int& width, int& height) const override {
    const TWicSession session;
    TComRef<IWICStream> stream;
    TComRef<IWICBitmapDecoder> decoder;
    TComRef<IWICBitmapFrameDecode> frame;
    UINT frameWidth = 0;
    UINT frameHeight = 0;
    if (!OpenFrame(session, bytes, stream, decoder, frame) || FAILED(frame->GetSize(&frameWidth, &frameHeight)) ||
        frameWidth > INT_MAX || frameHeight > INT_MAX)
      return false;
    width = static_cast<int>(frameWidth);
    height = static_cast<int>(frameHeight);
    return true;
  }

  bool Decode(const std::vector<uint8_t>& bytes, TDecodedPicture& picture) const override {
    const TWicSession session;
    TComRef<IWICStream> stream;
    TComRef<IWICBitmapDecoder> decoder;
    TComRef<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
    WICPixelFormatGUID format{};
    if (!OpenFrame(session, bytes, stream, decoder, frame) || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(frame->GetPixelFormat(&format)) || width == 0 || height == 0)
      return false;
    // Four bytes a pixel, in a buffer whose size CopyPixels can be told.
    const uint64_t stride = uint64_t{width} * 4;
    if (stride * height > UINT_MAX) return false;
    // Straight alpha in B, G, R, A order: a little-endian 0xAARRGGBB per pixel.
    TComRef<IWICBitmapSource> converted;
    if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.Get(), converted.Out()))) return false;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    if (FAILED(converted->CopyPixels(nullptr, static_cast<UINT>(stride), static_cast<UINT>(stride * height),
                                     reinterpret_cast<BYTE*>(pixels.data()))))
      return false;
    if (FourthByteIsNoAlpha(format))
      for (uint32_t& pixel : pixels) pixel |= 0xFF000000u;
    picture.Width = static_cast<int>(width);
    picture.Height = static_cast<int>(height);
    picture.Pixels = std::move(pixels);
    return true;
  }
};

}  // namespace

const TPictureDecoder& SystemPictureDecoder() {
  static const TWicPictureDecoder decoder;
  return decoder;
}

}  // namespace printset
