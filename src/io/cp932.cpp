// Conversions between the game's UTF-8 texts and CP932, through iconv.
#include "io/cp932.h"

#include <cerrno>
#include <iconv.h>

namespace vern {

namespace {

// One converter a direction, opened on first use and kept for the run.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

  private:
    iconv_t cd_;
};

std::optional<std::string> Convert(const Converter& converter, const std::string& in) {
    if (!converter.ok()) return std::nullopt;
    iconv_t cd = converter.get();
    iconv(cd, nullptr, nullptr, nullptr, nullptr); // a fresh shift state
    std::string out(in.size() * 4 + 16, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    const bool ok = rc != static_cast<std::size_t>(-1) && inLeft == 0 &&
                    iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    if (!ok) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace

std::optional<std::string> EncodeCp932(const std::string& utf8) {
    thread_local const Converter converter("CP932", "UTF-8");
    return Convert(converter, utf8);
}

std::optional<std::string> DecodeCp932(const std::string& bytes) {
    thread_local const Converter converter("UTF-8", "CP932");
    return Convert(converter, bytes);
}

bool FitsCp932(const std::string& utf8) {
    auto encoded = EncodeCp932(utf8);
    if (!encoded) return false;
    auto back = DecodeCp932(*encoded);
    return back && *back == utf8;
}

std::string InCp932Forms(const std::string& utf8) {
    static constexpr struct {
        const char* from;
        const char* to;
    } kForms[] = {
        {"\u301C", "\uFF5E"}, {"\u2212", "\uFF0D"}, {"\u2016", "\u2225"}, {"\u2014", "\u2015"},
        {"\u00A2", "\uFFE0"}, {"\u00A3", "\uFFE1"}, {"\u00AC", "\uFFE2"}, {"\u00A6", "\uFFE4"},
    };
    std::string out = utf8;
    for (const auto& form : kForms) {
        const std::string from = form.from, to = form.to;
        for (std::size_t at = out.find(from); at != std::string::npos;
             at = out.find(from, at + to.size()))
            out.replace(at, from.size(), to);
    }
    return out;
}

std::string FirstUnfitting(const std::string& utf8) {
    const std::size_t n = CharCount(utf8);
    for (std::size_t i = 0; i < n; ++i) {
        const std::string upTo = FirstChars(utf8, i + 1);
        const std::string one = upTo.substr(FirstChars(utf8, i).size());
        if (!FitsCp932(one)) return one;
    }
    return "";
}

std::size_t CharCount(const std::string& utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string FirstChars(const std::string& utf8, std::size_t n) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            if (count == n) return utf8.substr(0, i);
            ++count;
        }
    }
    return utf8;
}

} // namespace vern
