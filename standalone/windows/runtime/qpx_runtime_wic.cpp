// SPDX-License-Identifier: MIT
// The decoding run-time of Windows packages, stored in a package as "qpxrun30.dll": the interface of
// qpx_runtime.h on Windows' own imaging component, which every Windows since 7 carries. QPX is a
// baseline JPEG stream, so the component's JPEG decoder reads it, as it reads the JPEG, BMP, PNG and
// TIFF pictures a package may hold as they are. It keeps the program's picture policy, as the
// run-time for Linux does: a picture is refused from its header, before any of it is decoded.

#include "jpeg_scans.h"
#include "picture_limits.h"
#include "qpx_runtime.h"

#include <wincodec.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>

#define QPXRUN_EXPORT extern "C" __declspec(dllexport)

namespace {

template <class T> struct Com {
    T* p = nullptr;
    ~Com() {
        if (p)
            p->Release();
    }
    T** put() { return &p; }
    T* operator->() const { return p; }
};

// The COM apartment of the calling thread, entered for the decode when the caller has none.
struct Apartment {
    bool entered = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ~Apartment() {
        if (entered)
            CoUninitialize();
    }
};

const char* Decode(const unsigned char* data, size_t size, QpxRunPicture& picture) {
    if (size > 0xFFFFFFFFu)
        return "picture too large";
    Apartment apartment;
    Com<IWICImagingFactory> factory;
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    Com<IWICBitmapSource> bgr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put()))))
        return "the imaging component of Windows is missing";
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size))) ||
        FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())))
        return "damaged or unknown picture data";
    UINT width = 0, height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0)
        return "damaged picture data";
    if (!imaging::fitsPicturePolicy(width, height))
        return "picture too large";
    if (size > 2 && data[0] == 0xFF && data[1] == 0xD8 &&
        imaging::countJpegScans(data, size) > imaging::allowedJpegScans(width, height))
        return "too many scans";
    if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame.p, bgr.put())))
        return "damaged picture data";
    const UINT stride = width * 4;
    auto* pixels = static_cast<unsigned char*>(std::malloc(size_t(stride) * height));
    if (!pixels)
        return "out of memory";
    if (FAILED(bgr->CopyPixels(nullptr, stride, stride * height, pixels))) {
        std::free(pixels);
        return "damaged picture data";
    }
    for (size_t i = 3; i < size_t(stride) * height; i += 4)
        pixels[i] = 255;
    picture = {int(width), int(height), int(stride), pixels};
    return nullptr;
}

void SetError(char* error, size_t errorSize, const char* text) {
    if (error && errorSize > 0)
        lstrcpynA(error, text, int(errorSize < 0x7FFFFFFF ? errorSize : 0x7FFFFFFF));
}

} // namespace

QPXRUN_EXPORT int qpxrun_api_version(void) {
    return QPXRUN_API_VERSION;
}

QPXRUN_EXPORT int qpxrun_decode(const unsigned char* data, size_t size, QpxRunPicture* picture, char* error,
                                size_t errorSize) {
    SetError(error, errorSize, "");
    if (!picture)
        return SetError(error, errorSize, "no picture to fill"), 1;
    *picture = QpxRunPicture{};
    if (!data || size == 0)
        return SetError(error, errorSize, "no data"), 1;
    if (const char* failure = Decode(data, size, *picture))
        return SetError(error, errorSize, failure), 1;
    return 0;
}

QPXRUN_EXPORT void qpxrun_free(QpxRunPicture* picture) {
    if (!picture)
        return;
    std::free(picture->pixels);
    *picture = QpxRunPicture{};
}
