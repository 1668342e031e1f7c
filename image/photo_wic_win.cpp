// PNG and JPEG decoding with the platform's own codecs (WIC), for the Windows build.
//
// Every picture is converted to 32-bit blue, green, red, alpha: WIC hands some kinds (grey
// JPEG, 16-bit and palette PNG) over only in that form, and one road for all keeps the
// compositing over white in one place. The picture is decoded at full size and reduced by the
// sink's own area averaging; WIC's scaler only point-samples.
#include <wincodec.h>
#include <windows.h>

#include <vector>

#include "image/photo.h"

namespace {

// Releases a COM interface when it goes out of scope.
template <class T> class Com {
  public:
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() {
        if (p_) {
            p_->Release();
        }
    }
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }

  private:
    T* p_ = nullptr;
};

// COM for the length of one decode, on threads that have not set it up themselves (the
// command line); a thread already in another apartment keeps it.
class ComScope {
  public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) {
            CoUninitialize();
        }
    }

  private:
    HRESULT hr_;
};

std::string Failure(const char* kind, const char* what, HRESULT hr) {
    char text[160];
    wsprintfA(text, "damaged %s file: %s (0x%08lX)", kind, what, static_cast<unsigned long>(hr));
    return text;
}

std::string Decode(std::span<const uint8_t> file, PhotoSink& sink, const char* kind) {
    // Sizes are judged from the file's own header before any codec sees it: some decode the
    // whole picture as soon as they open it.
    PhotoSize claimed;
    if (!PhotoHeaderSize(file, &claimed) || claimed.width <= 0 || claimed.height <= 0) {
        return Failure(kind, "the header cannot be read", E_FAIL);
    }
    PhotoSize plan = sink.Plan(claimed.width, claimed.height);
    if (plan.width <= 0) {
        return "refused";
    }
    ComScope com;
    Com<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out()));
    if (FAILED(hr)) {
        return Failure(kind, "the picture codecs are not available", hr);
    }
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    if (FAILED(hr = factory->CreateStream(stream.Out())) ||
        FAILED(hr = stream->InitializeFromMemory(const_cast<BYTE*>(file.data()),
                                                 DWORD(file.size()))) ||
        FAILED(hr = factory->CreateDecoderFromStream(
                   stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Out())) ||
        FAILED(hr = decoder->GetFrame(0, frame.Out()))) {
        return Failure(kind, "the header cannot be read", hr);
    }
    UINT width = 0;
    UINT height = 0;
    if (FAILED(hr = frame->GetSize(&width, &height))) {
        return Failure(kind, "the header cannot be read", hr);
    }
    if (int32_t(width) != claimed.width || int32_t(height) != claimed.height) {
        return Failure(kind, "the header and the codec disagree on the size", E_FAIL);
    }
    Com<IWICFormatConverter> converter;
    if (FAILED(hr = factory->CreateFormatConverter(converter.Out())) ||
        FAILED(hr = converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA,
                                          WICBitmapDitherTypeNone, nullptr, 0.0,
                                          WICBitmapPaletteTypeCustom))) {
        return Failure(kind, "the pixels cannot be converted", hr);
    }
    if (!sink.Begin(int32_t(width), int32_t(height))) {
        return "refused";
    }
    // A band of rows at a time keeps the codec's calls few and the memory small.
    constexpr UINT kBand = 16;
    const UINT stride = 4 * width;
    std::vector<uint8_t> band(size_t(stride) * kBand);
    std::vector<uint8_t> bgr(3 * size_t(width));
    for (UINT top = 0; top < height; top += kBand) {
        UINT rows = std::min(kBand, height - top);
        WICRect rect = {0, INT(top), INT(width), INT(rows)};
        if (FAILED(hr = converter->CopyPixels(&rect, stride, stride * rows, band.data()))) {
            return Failure(kind, "the pixels cannot be decoded", hr);
        }
        for (UINT r = 0; r < rows; r++) {
            const uint8_t* in = band.data() + size_t(stride) * r;
            uint8_t* out = bgr.data();
            for (UINT x = 0; x < width; x++, in += 4, out += 3) {
                uint32_t a = in[3];
                for (int c = 0; c < 3; c++) {
                    out[c] = uint8_t((in[c] * a + 255 * (255 - a) + 127) / 255);
                }
            }
            sink.Row(bgr.data());
        }
    }
    return {};
}

} // namespace

std::string DecodePng(std::span<const uint8_t> file, PhotoSink& sink) {
    return Decode(file, sink, "PNG");
}

std::string DecodeJpeg(std::span<const uint8_t> file, PhotoSink& sink) {
    return Decode(file, sink, "JPEG");
}
