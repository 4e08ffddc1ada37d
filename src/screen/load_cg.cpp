// The picture loader of the story, the name dialog and the information page. Only the bitmap
// header is read here (the front end draws the pixels); a file that could not be drawn is
// treated as broken and replaced by the fallback.
#include "screen/load_cg.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>

#include "io/file_start.h"
#include "state/history.h"

namespace vern {

namespace {

std::uint32_t U32(const unsigned char* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t U16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

constexpr int kFileNotFound = 53;
constexpr int kPathNotFound = 76;
constexpr int kInvalidPicture = 481;
constexpr int kAccessError = 75;
constexpr int kDeviceIO = 57;

int OpenError(const std::string& path, int err) {
    if (err == ENOENT || err == ENOTDIR) {
        std::error_code ec;
        const auto parent = std::filesystem::path(path).parent_path();
        return std::filesystem::is_directory(parent, ec) ? kFileNotFound : kPathNotFound;
    }
    if (err == EACCES || err == EISDIR || err == EPERM) return kAccessError;
    return kDeviceIO;
}

} // namespace

int ReadBitmapInfo(const std::string& path, int& widthPx, int& heightPx) {
    // A pipe or a device in the picture folder must not stop the game: it is no picture.
    std::string head;
    long long fileSize = 0;
    const int err = ReadFileStart(path, 54, head, fileSize);
    if (err == ENODEV) return kInvalidPicture;
    if (err != 0) return OpenError(path, err);
    unsigned char h[54] = {};
    std::copy(head.begin(), head.end(), h);
    const std::size_t got = head.size();
    if (got < 26 || h[0] != 'B' || h[1] != 'M') return kInvalidPicture;
    const std::uint32_t dataOffset = U32(h + 10);
    const std::uint32_t dibSize = U32(h + 14);
    long long w = 0, hgt = 0;
    int bpp = 0;
    std::uint32_t compression = 0;
    if (dibSize == 12) {
        w = U16(h + 18);
        hgt = U16(h + 20);
        bpp = U16(h + 24);
    } else if (dibSize >= 40 && got >= 54) {
        w = static_cast<std::int32_t>(U32(h + 18));
        hgt = static_cast<std::int32_t>(U32(h + 22));
        bpp = U16(h + 28);
        compression = U32(h + 30);
    } else {
        return kInvalidPicture;
    }
    if (hgt < 0) hgt = -hgt;
    if (w <= 0 || hgt <= 0 || w > kMaxPictureWidthPx || hgt > kMaxPictureHeightPx)
        return kInvalidPicture;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return kInvalidPicture;
    if (dataOffset < 14 + dibSize || dataOffset > fileSize) return kInvalidPicture;
    if (compression == 0 || compression == 3) {
        const long long rowBytes = (w * bpp + 31) / 32 * 4;
        if (dataOffset + rowBytes * hgt > fileSize) return kInvalidPicture;
    } else if (!(compression == 1 && bpp == 8) && !(compression == 2 && bpp == 4)) {
        return kInvalidPicture; // run-length coding exists for 8- and 4-bit pictures only
    }
    widthPx = static_cast<int>(w);
    heightPx = static_cast<int>(hgt);
    return 0;
}

void LoadCG(Game& g, const std::string& folder, const std::string& name) {
    const std::string path = g.svc.AppPath() + "/CG/" + folder + "/" + name + ".bmp";
    int w = 0, h = 0;
    int err = ReadBitmapInfo(path, w, h);
    // A header the window cannot draw after all counts as a broken picture.
    if (err == 0 && !g.svc.CanDrawPicture(path)) err = kInvalidPicture;
    if (err == 0) {
        g.f.Image1.picture = Picture{folder + "/" + name, path, w, h};
    } else if (err == kFileNotFound || err == kPathNotFound || err == kInvalidPicture) {
        g.f.Image1.picture = g.f.Image0.picture;
    } else {
        MsgBox(g, "予想外のエラーです。『エラー" + std::to_string(err) + "番』", MsgButtons::OK,
               true, kDefaultTitle);
    }
}

} // namespace vern
