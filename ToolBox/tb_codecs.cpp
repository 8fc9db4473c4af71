// Pictures in the formats families have (PNG, JPEG, GIF, TIFF) read and PNG written through the
// system's imaging component: a picture comes in as an ordinary 24-bit bitmap of the size the
// caller places it at, upright, transparent parts on white paper; the canvas goes out as a PNG.
//
// The imaging component is reached through COM, started once by the program; a system without it
// (or without COM) reads BMP files only. The component's own calls for scaling and converting
// whole pictures are slow and coarse under some systems, so the rows are read band by band in the
// decoder's own layout and scaled or cropped here, and the full-size picture is never held.
#include <cstring>
#include <vector>

#include "tb_internal.h"

#include <wincodec.h>

namespace {

// The imaging factory's class as every system with the component has it (CLSID_WICImagingFactory1).
const GUID kFactoryClass = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};

// Containers and pixel layouts (the component's own identifiers).
const GUID kPng = {0x1b7cfaf4, 0x713f, 0x473c, {0xbb, 0xcd, 0x61, 0x37, 0x42, 0x5f, 0xae, 0xaf}};
const GUID kJpeg = {0x19e4a5aa, 0x5662, 0x4fc5, {0xa0, 0xc0, 0x17, 0x58, 0x02, 0x8e, 0x10, 0x57}};
const GUID kGif = {0x1f8a5601, 0x7d4d, 0x4cbd, {0x9c, 0x82, 0x1b, 0xc8, 0xd4, 0xee, 0xb9, 0xa5}};
const GUID kTiff = {0x163bcc30, 0xe2e9, 0x4f0b, {0x96, 0x1d, 0xa3, 0xe9, 0xfd, 0xb7, 0x88, 0xa3}};
const GUID kBmp = {0x0af1d87e, 0xfcfe, 0x4188, {0xbd, 0xeb, 0xa7, 0x90, 0x64, 0x71, 0xcb, 0xe3}};
GUID PixelFormat(BYTE last)
{
    return {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, last}};
}
const GUID kGray8 = PixelFormat(0x08), kBgr24 = PixelFormat(0x0c), kBgr32 = PixelFormat(0x0e),
           kBgra32 = PixelFormat(0x0f), kPbgra32 = PixelFormat(0x10);

// The picture files the program lists and opens, by the end of their names (any letter case).
const char* const kExtensions[] = {".bmp", ".png", ".jpg", ".jpeg", ".gif", ".tif", ".tiff", nullptr};

// The largest picture read whole (tests); placing never asks for more than the canvas.
const int kMaxSide = 16384;
const long long kMaxPixelBytes = 128LL * 1024 * 1024;
// The rows read at once: about this many bytes, at least one row.
const size_t kBandBytes = 1u << 20;

typedef HRESULT(WINAPI* CoInitializeExProc)(LPVOID, DWORD);
typedef void(WINAPI* CoUninitializeProc)(void);
typedef HRESULT(WINAPI* CoCreateInstanceProc)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
typedef HRESULT(WINAPI* PropVariantClearProc)(PROPVARIANT*);
typedef HRESULT(WINAPI* CreateStreamOnHGlobalProc)(HGLOBAL, BOOL, LPSTREAM*);
typedef HRESULT(WINAPI* GetHGlobalFromStreamProc)(LPSTREAM, HGLOBAL*);

struct Codecs {
    int comStarts;                 // successful starts of COM on this thread not yet undone
    IWICImagingFactory* factory;   // made at the first picture that needs it
    const GUID* factoryClass;      // the class it was made from
};
Codecs codecs;

template <typename T>
void Release(T*& p)
{
    if (p) p->Release();
    p = nullptr;
}

IWICImagingFactory* Factory(void)
{
    if (codecs.factory && codecs.factoryClass == tb_imagingFactoryClass) return codecs.factory;
    Release(codecs.factory);
    codecs.factoryClass = tb_imagingFactoryClass;
    CoCreateInstanceProc create = (CoCreateInstanceProc)(void*)tb_SystemProc("OLE32", "CoCreateInstance");
    if (!codecs.comStarts || !create || !tb_imagingFactoryClass) return nullptr;
    void* made = nullptr;
    if (FAILED(create(*tb_imagingFactoryClass, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWICImagingFactory), &made)))
        return nullptr;
    codecs.factory = (IWICImagingFactory*)made;
    return codecs.factory;
}

// The current file of the channel, mapped into memory for the decoder and the EXIF reader.
struct MappedFile {
    HANDLE mapping;
    BYTE* data;
    size_t size;
};

bool MapCurrentFile(MappedFile* m)
{
    *m = MappedFile{nullptr, nullptr, 0};
    LARGE_INTEGER length;
    if (tb.file == INVALID_HANDLE_VALUE || !GetFileSizeEx(tb.file, &length)) return false;
    if (length.QuadPart <= 0 || length.QuadPart >= 0x7FFFFFFF || (unsigned long long)length.QuadPart > (SIZE_T)-1)
        return false;
    m->mapping = CreateFileMappingA(tb.file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!m->mapping) return false;
    m->data = (BYTE*)MapViewOfFile(m->mapping, FILE_MAP_READ, 0, 0, 0);
    if (!m->data) {
        CloseHandle(m->mapping);
        m->mapping = nullptr;
        return false;
    }
    m->size = (size_t)length.QuadPart;
    return true;
}

void Unmap(MappedFile* m)
{
    if (m->data) UnmapViewOfFile(m->data);
    if (m->mapping) CloseHandle(m->mapping);
    *m = MappedFile{nullptr, nullptr, 0};
}

int FormatOf(const GUID& container)
{
    if (container == kPng) return TB_FORMAT_PNG;
    if (container == kJpeg) return TB_FORMAT_JPEG;
    if (container == kGif) return TB_FORMAT_GIF;
    if (container == kTiff) return TB_FORMAT_TIFF;
    if (container == kBmp) return TB_FORMAT_BMP;
    return TB_FORMAT_OTHER;
}

// The orientation of a JPEG: the component's answer where it gives one, else the file's EXIF block.
int Orientation(IWICBitmapFrameDecode* frame, const MappedFile& file)
{
    IWICMetadataQueryReader* query = nullptr;
    int answer = 0;
    PropVariantClearProc clear = (PropVariantClearProc)(void*)tb_SystemProc("OLE32", "PropVariantClear");
    if (clear && SUCCEEDED(frame->GetMetadataQueryReader(&query)) && query) {
        PROPVARIANT value;
        memset(&value, 0, sizeof value);
        if (SUCCEEDED(query->GetMetadataByName(L"/app1/ifd/{ushort=274}", &value)) && value.vt == VT_UI2 &&
            value.uiVal >= 1 && value.uiVal <= 8)
            answer = value.uiVal;
        clear(&value);
    }
    Release(query);
    return answer ? answer : tb_ExifOrientation(file.data, file.size);
}

// ---------------------------------------------------------------- rows of the decoded picture

enum RowKind { kRowBgr24, kRowBgr32, kRowBgra, kRowPbgra, kRowGray };

// The rows of a stretch of the picture (columns left .. left + width), from the top, each as
// 24-bit blue, green, red over white paper. The rows are asked for in order (the same row again is
// fine); they are read from the decoder a band at a time, whole (some decoders refuse a stretch
// that does not begin on a byte of their own layout).
struct RowSource {
    IWICBitmapSource* source;
    RowKind kind;
    UINT left, top, width, height;
    UINT fullWidth;  // the picture's width
    UINT bytesPerPixel;
    UINT stride;
    std::vector<BYTE> band;
    UINT bandTop, bandRows, rowsPerBand;
    std::vector<BYTE> bgr;  // the row handed out when it had to be converted
    bool failed;
};

bool StartRows(RowSource& s, IWICBitmapSource* source, RowKind kind, UINT fullWidth, const RECT& stretch)
{
    UINT width = (UINT)(stretch.right - stretch.left), height = (UINT)(stretch.bottom - stretch.top);
    s.source = source;
    s.kind = kind;
    s.left = (UINT)stretch.left;
    s.top = (UINT)stretch.top;
    s.width = width;
    s.height = height;
    s.fullWidth = fullWidth;
    s.bytesPerPixel = kind == kRowBgr24 ? 3 : kind == kRowGray ? 1 : 4;
    if ((unsigned long long)fullWidth * s.bytesPerPixel > 0x7FFFFFF0ull) return false;
    s.stride = (fullWidth * s.bytesPerPixel + 3) & ~3u;
    s.rowsPerBand = (UINT)(kBandBytes / s.stride);
    if (s.rowsPerBand < 1) s.rowsPerBand = 1;
    if (s.rowsPerBand > height) s.rowsPerBand = height;
    s.bandTop = 0;
    s.bandRows = 0;
    s.failed = false;
    try {
        s.band.resize((size_t)s.stride * s.rowsPerBand);
        if (kind != kRowBgr24) s.bgr.resize((size_t)width * 3);
    } catch (...) {
        return false;
    }
    return true;
}

// Row y (0 = the top of the stretch) as blue, green, red; nullptr when the decoder failed.
const BYTE* Row(RowSource& s, UINT y)
{
    if (s.failed || y >= s.height) return nullptr;
    if (y < s.bandTop || y >= s.bandTop + s.bandRows) {
        UINT rows = s.height - y < s.rowsPerBand ? s.height - y : s.rowsPerBand;
        WICRect rect = {0, (INT)(s.top + y), (INT)s.fullWidth, (INT)rows};
        if (FAILED(s.source->CopyPixels(&rect, s.stride, (UINT)s.band.size(), s.band.data()))) {
            s.failed = true;
            return nullptr;
        }
        s.bandTop = y;
        s.bandRows = rows;
    }
    const BYTE* p = s.band.data() + (size_t)(y - s.bandTop) * s.stride + (size_t)s.left * s.bytesPerPixel;
    if (s.kind == kRowBgr24) return p;
    BYTE* out = s.bgr.data();
    for (UINT x = 0; x < s.width; ++x, out += 3) {
        switch (s.kind) {
        case kRowGray:
            out[0] = out[1] = out[2] = *p++;
            break;
        case kRowBgr32:
            out[0] = p[0], out[1] = p[1], out[2] = p[2];
            p += 4;
            break;
        case kRowBgra:  // transparent parts show the white paper, as in a BMP with alpha
            for (int k = 0; k < 3; ++k) out[k] = (BYTE)((p[k] * p[3] + 255 * (255 - p[3]) + 127) / 255);
            p += 4;
            break;
        default: {  // premultiplied
            for (int k = 0; k < 3; ++k) {
                int v = p[k] + 255 - p[3];
                out[k] = (BYTE)(v > 255 ? 255 : v);
            }
            p += 4;
            break;
        }
        }
    }
    return s.bgr.data();
}

// ---------------------------------------------------------------- the new bitmap, upright

// Where a pixel of the picture as stored (x, y in a stored picture of sw x sh) lands upright, for
// the eight EXIF orientations (1 = as stored; 5..8 turn width into height).
struct Upright {
    BYTE* bits;
    size_t stride;
    int height;  // upright height of the new bitmap
    int orientation;
    int sw, sh;
    void Put(int x, int y, const BYTE* bgr) const
    {
        int X, Y;
        switch (orientation) {
        case 2: X = sw - 1 - x, Y = y; break;
        case 3: X = sw - 1 - x, Y = sh - 1 - y; break;
        case 4: X = x, Y = sh - 1 - y; break;
        case 5: X = y, Y = x; break;
        case 6: X = sh - 1 - y, Y = x; break;
        case 7: X = sh - 1 - y, Y = sw - 1 - x; break;
        case 8: X = y, Y = sw - 1 - x; break;
        default: X = x, Y = y; break;
        }
        BYTE* p = bits + (size_t)(height - 1 - Y) * stride + 3 * (size_t)X;
        p[0] = bgr[0], p[1] = bgr[1], p[2] = bgr[2];
    }
};

// The stored rectangle that shows as the upright rectangle r of a picture stored sw x sh.
RECT StoredRect(const RECT& r, int orientation, int sw, int sh)
{
    // Two opposite corners, mapped back, then put in order.
    auto back = [&](int X, int Y, int* x, int* y) {
        switch (orientation) {
        case 2: *x = sw - 1 - X, *y = Y; break;
        case 3: *x = sw - 1 - X, *y = sh - 1 - Y; break;
        case 4: *x = X, *y = sh - 1 - Y; break;
        case 5: *x = Y, *y = X; break;
        case 6: *x = Y, *y = sh - 1 - X; break;
        case 7: *x = sw - 1 - Y, *y = sh - 1 - X; break;
        case 8: *x = sw - 1 - Y, *y = X; break;
        default: *x = X, *y = Y; break;
        }
    };
    int x1, y1, x2, y2;
    back(r.left, r.top, &x1, &y1);
    back(r.right - 1, r.bottom - 1, &x2, &y2);
    RECT s = {x1 < x2 ? x1 : x2, y1 < y2 ? y1 : y2, (x1 < x2 ? x2 : x1) + 1, (y1 < y2 ? y2 : y1) + 1};
    return s;
}

// The source spans of each output pixel along one side: out pixel t takes the stored pixels
// [first[t], last[t]); scaling down averages them, scaling up repeats the nearest one.
void Spans(UINT from, UINT to, std::vector<UINT>& first, std::vector<UINT>& last)
{
    first.resize(to);
    last.resize(to);
    for (UINT t = 0; t < to; ++t) {
        UINT a = (UINT)((unsigned long long)t * from / to), b = (UINT)((unsigned long long)(t + 1) * from / to);
        if (b <= a) {
            a = (UINT)(((unsigned long long)2 * t + 1) * from / (2ull * to));
            b = a + 1;
        }
        first[t] = a;
        last[t] = b;
    }
}

// The whole stretch scaled to sw x sh (stored orientation) and put upright.
bool ScaleInto(RowSource& rows, const Upright& u)
{
    std::vector<UINT> x0, x1, y0, y1;
    std::vector<unsigned long long> sums;
    std::vector<BYTE> out;
    try {
        Spans(rows.width, (UINT)u.sw, x0, x1);
        Spans(rows.height, (UINT)u.sh, y0, y1);
        sums.resize((size_t)u.sw * 3);
        out.resize((size_t)u.sw * 3);
    } catch (...) {
        return false;
    }
    for (int ty = 0; ty < u.sh; ++ty) {
        std::fill(sums.begin(), sums.end(), 0ull);
        for (UINT y = y0[ty]; y < y1[ty]; ++y) {
            const BYTE* row = Row(rows, y);
            if (!row) return false;
            unsigned long long* sum = sums.data();
            for (int tx = 0; tx < u.sw; ++tx, sum += 3) {
                const BYTE* p = row + 3 * (size_t)x0[tx];
                for (UINT x = x0[tx]; x < x1[tx]; ++x, p += 3) {
                    sum[0] += p[0];
                    sum[1] += p[1];
                    sum[2] += p[2];
                }
            }
        }
        for (int tx = 0; tx < u.sw; ++tx) {
            unsigned long long n = (unsigned long long)(x1[tx] - x0[tx]) * (y1[ty] - y0[ty]);
            for (int k = 0; k < 3; ++k) out[3 * (size_t)tx + k] = (BYTE)((sums[3 * (size_t)tx + k] + n / 2) / n);
            u.Put(tx, ty, &out[3 * (size_t)tx]);
        }
    }
    return true;
}

// The stretch at its own size, put upright.
bool CopyInto(RowSource& rows, const Upright& u)
{
    for (UINT y = 0; y < rows.height; ++y) {
        const BYTE* row = Row(rows, y);
        if (!row) return false;
        if (u.orientation == 1) {
            memcpy(u.bits + (size_t)(u.height - 1 - (int)y) * u.stride, row, 3 * (size_t)rows.width);
            continue;
        }
        for (UINT x = 0; x < rows.width; ++x) u.Put((int)x, (int)y, row + 3 * (size_t)x);
    }
    return true;
}

// The frame's rows as they are stored, or through the component's converter for the layouts read
// here only through it (palettes, 16 bits a channel, CMYK...).
IWICBitmapSource* RowsOf(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, RowKind* kind)
{
    WICPixelFormatGUID format;
    if (FAILED(frame->GetPixelFormat(&format))) return nullptr;
    const struct {
        const GUID* format;
        RowKind kind;
    } direct[] = {{&kBgr24, kRowBgr24}, {&kBgr32, kRowBgr32}, {&kBgra32, kRowBgra}, {&kPbgra32, kRowPbgra},
                  {&kGray8, kRowGray}};
    for (const auto& d : direct) {
        if (format == *d.format) {
            *kind = d.kind;
            frame->AddRef();
            return frame;
        }
    }
    IWICFormatConverter* converter = nullptr;
    if (FAILED(factory->CreateFormatConverter(&converter)) || !converter) return nullptr;
    if (FAILED(converter->Initialize(frame, kPbgra32, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        converter->Release();
        return nullptr;
    }
    *kind = kRowPbgra;
    return converter;
}

// What of an upright picture of uw x uh to read for need: the part shown (upright) and the new
// bitmap's size. Scaled, the whole picture at the size asked; else its middle at its own size, as
// centring it on the canvas shows it (whole: all of it, up to 16384 a side). False when the bitmap
// would be empty or too large.
bool PlanPart(long long uw, long long uh, const TB_PictureNeed* need, RECT* upright, long long* bw, long long* bh)
{
    *upright = RECT{0, 0, (LONG)uw, (LONG)uh};
    if (need && need->fit == TB_FIT_SCALE) {
        *bw = need->width, *bh = need->height;
    } else {
        if (!need && (uw > kMaxSide || uh > kMaxSide)) return false;
        long long cw = need ? need->width : kMaxSide, ch = need ? need->height : kMaxSide;
        if (uw > cw) upright->left = (LONG)(uw / 2 - cw / 2), upright->right = (LONG)(upright->left + cw);
        if (uh > ch) upright->top = (LONG)(uh / 2 - ch / 2), upright->bottom = (LONG)(upright->top + ch);
        *bw = upright->right - upright->left, *bh = upright->bottom - upright->top;
    }
    if (*bw < 1 || *bh < 1 || *bw > kMaxSide || *bh > kMaxSide) return false;
    return (long long)grfx_StorageWidth((int)*bw, 24) * *bh <= kMaxPixelBytes;
}

// Decodes the first frame of the mapped file into a new 24-bit bitmap as need asks; -1 when the
// component cannot read it.
int Decode(IWICImagingFactory* factory, const MappedFile& file, const TB_PictureNeed* need, int* format,
           RECT* rect)
{
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICBitmapSource* source = nullptr;
    int index = -1;
    bool done = false;
    std::vector<BYTE> firstPicture;  // a GIF up to its first picture, and its trailer
    do {
        bool trailer;
        size_t size = tb_PictureBytesForDecoder(file.data, file.size, &trailer);
        if (!size) break;
        BYTE* bytes = file.data;
        if (trailer) {
            firstPicture.assign(file.data, file.data + size);
            firstPicture.push_back(0x3B);
            bytes = firstPicture.data();
            size = firstPicture.size();
        }
        if (FAILED(factory->CreateStream(&stream)) || !stream) break;
        if (FAILED(stream->InitializeFromMemory(bytes, (DWORD)size))) break;
        if (FAILED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) ||
            !decoder)
            break;
        GUID container;
        if (FAILED(decoder->GetContainerFormat(&container))) break;
        if (format) *format = FormatOf(container);
        if (FAILED(decoder->GetFrame(0, &frame)) || !frame) break;
        UINT w = 0, h = 0;
        if (FAILED(frame->GetSize(&w, &h)) || w < 1 || h < 1 || w > 0x7FFFFFFF || h > 0x7FFFFFFF) break;
        int orientation = container == kJpeg ? Orientation(frame, file) : 1;
        const bool turned = orientation >= 5;
        const long long uw = turned ? h : w, uh = turned ? w : h;  // the picture's size upright

        RECT upright;
        long long bw, bh;
        if (!PlanPart(uw, uh, need, &upright, &bw, &bh)) break;
        RECT stored = StoredRect(upright, orientation, (int)w, (int)h);
        const bool scale = need && need->fit == TB_FIT_SCALE;

        RowKind kind;
        source = RowsOf(factory, frame, &kind);
        if (!source) break;
        RowSource rows;
        if (!StartRows(rows, source, kind, w, stored)) break;

        RECT r = {0, 0, (LONG)bw, (LONG)bh};
        index = tb_CreateBitmap(&r, 0, 24);
        TB_DIB* dib = index >= 0 ? tb_GetBitmapDIB(index) : nullptr;
        if (!dib || !dib->lpBits) break;
        GdiFlush();
        Upright u = {dib->lpBits, (size_t)grfx_StorageWidth((int)bw, 24), (int)bh, orientation,
                     (int)(turned ? bh : bw), (int)(turned ? bw : bh)};
        if (!(scale ? ScaleInto(rows, u) : CopyInto(rows, u))) break;
        if (rect) SetRect(rect, 0, 0, (int)bw, (int)bh);
        done = true;
    } while (false);
    if (!done && index >= 0) {
        tb_DisposeBitmap(index);
        index = -1;
    }
    Release(source);
    Release(frame);
    Release(decoder);
    Release(stream);
    return index;
}

}  // namespace

const GUID* tb_imagingFactoryClass = &kFactoryClass;

void tb_StartPictureCodecs(void)
{
    CoInitializeExProc start = (CoInitializeExProc)(void*)tb_SystemProc("OLE32", "CoInitializeEx");
    if (start && SUCCEEDED(start(nullptr, COINIT_APARTMENTTHREADED))) ++codecs.comStarts;
}

void tb_StopPictureCodecs(void)
{
    if (!codecs.comStarts) return;
    if (codecs.comStarts == 1) Release(codecs.factory);
    --codecs.comStarts;
    CoUninitializeProc stop = (CoUninitializeProc)(void*)tb_SystemProc("OLE32", "CoUninitialize");
    if (stop) stop();
}

int tb_IsPictureName(const char* name)
{
    const char* dot = name ? strrchr(name, '.') : nullptr;
    if (!dot) return 0;
    for (const char* const* e = kExtensions; *e; ++e)
        if (lstrcmpiA(dot, *e) == 0) return 1;
    return 0;
}

const char* const* tb_PictureExtensions(void) { return kExtensions; }

int tb_WritePngToFile(int index)
{
    const TB_DIB* dib = index < TB_WINDOW_BASE ? tb_GetBitmapDIB(index) : nullptr;
    if (!dib || !dib->lpBits || grfx_BitCount(dib) != 24) {
        tb_ErrorBox("Invalid bitmap! (tb_WritePngToFile)");
        return 0;
    }
    IWICImagingFactory* factory = Factory();
    CreateStreamOnHGlobalProc memoryStream =
        (CreateStreamOnHGlobalProc)(void*)tb_SystemProc("OLE32", "CreateStreamOnHGlobal");
    GetHGlobalFromStreamProc memoryOf = (GetHGlobalFromStreamProc)(void*)tb_SystemProc("OLE32", "GetHGlobalFromStream");
    if (!factory || !memoryStream || !memoryOf) return 0;
    const int w = dib->lpBitmapInfo->bmiHeader.biWidth, h = dib->lpBitmapInfo->bmiHeader.biHeight;
    const UINT stride = (UINT)grfx_StorageWidth(w, 24);
    IStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    int written = 0;
    do {
        if (FAILED(memoryStream(nullptr, TRUE, &stream)) || !stream) break;
        if (FAILED(factory->CreateEncoder(kPng, nullptr, &encoder)) || !encoder) break;
        if (FAILED(encoder->Initialize(stream, WICBitmapEncoderNoCache))) break;
        if (FAILED(encoder->CreateNewFrame(&frame, nullptr)) || !frame) break;
        if (FAILED(frame->Initialize(nullptr)) || FAILED(frame->SetSize((UINT)w, (UINT)h))) break;
        WICPixelFormatGUID format = kBgr24;
        if (FAILED(frame->SetPixelFormat(&format)) || format != kBgr24) break;
        GdiFlush();
        // The bitmap's rows are stored bottom first; the encoder takes them from the top.
        bool rowsOk = true;
        for (int y = 0; y < h && rowsOk; ++y)
            rowsOk = SUCCEEDED(frame->WritePixels(1, stride, stride, dib->lpBits + (size_t)(h - 1 - y) * stride));
        if (!rowsOk || FAILED(frame->Commit()) || FAILED(encoder->Commit())) break;
        LARGE_INTEGER zero = {};
        ULARGE_INTEGER end = {};
        HGLOBAL memory = nullptr;
        if (FAILED(stream->Seek(zero, STREAM_SEEK_CUR, &end)) || FAILED(memoryOf(stream, &memory)) || !memory) break;
        const void* bytes = GlobalLock(memory);
        if (!bytes) break;
        written = tb_WriteFile(bytes, (DWORD)end.QuadPart) == 0;
        GlobalUnlock(memory);
    } while (false);
    Release(frame);
    Release(encoder);
    Release(stream);
    return written;
}

int tb_ReadPictureFromFile(RECT* rect, const TB_PictureNeed* need, int* format)
{
    if (format) *format = TB_FORMAT_NONE;
    if (tb.file == INVALID_HANDLE_VALUE) return -1;
    BYTE start[2] = {};
    DWORD got = 0;
    if (!ReadFile(tb.file, start, 2, &got, nullptr)) return -1;
    if (SetFilePointer(tb.file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return -1;
    if (got == 2 && start[0] == 'B' && start[1] == 'M') {
        if (format) *format = TB_FORMAT_BMP;
        return tb_ReadBitmapFromFile(rect);
    }
    IWICImagingFactory* factory = Factory();
    if (!factory) return -1;
    MappedFile file;
    if (!MapCurrentFile(&file)) return -1;
    int index = Decode(factory, file, need, format, rect);
    Unmap(&file);
    return index;
}
