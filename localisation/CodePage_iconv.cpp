// Native build only: code pages through glibc's iconv, error texts from a short table.

#include <iconv.h>

#include <cerrno>
#include <string>

#include "base/UniqueResource.h"
#include "localisation/CodePage.h"
#include "model/FileIO.h"
#include "model/Text.h"

namespace norvi {
namespace {

constexpr uint32_t kNativeAnsiCodePage = 1252;
constexpr char16_t kReplacement = 0xFFFD;

// iconv's name for a Windows code page; most are "CP" and the number.
std::string IconvName(uint32_t codePage) {
  if (codePage >= 28591 && codePage <= 28599) return "ISO-8859-" + std::to_string(codePage - 28590);
  switch (codePage) {
    case kAnsiCodePage: return IconvName(kNativeAnsiCodePage);
    case 20127: return "ASCII";
    case 20866: return "KOI8-R";
    case 21866: return "KOI8-U";
    case 28603: return "ISO-8859-13";
    case 28605: return "ISO-8859-15";
    case 54936: return "GB18030";
    case 65000: return "UTF-7";
    case 1361: return "JOHAB";
    case 10000: return "MACINTOSH";
    default: return "CP" + std::to_string(codePage);
  }
}

struct CloseIconv {
  void operator()(iconv_t cd) const { iconv_close(cd); }
};
// iconv_open fails with (iconv_t)-1.
inline iconv_t NoConversion() {
  return reinterpret_cast<iconv_t>(-1);
}
using UniqueIconv = UniqueResource<iconv_t, CloseIconv, NoConversion>;

class Converter {
 public:
  explicit Converter(const std::string& from) : cd_(iconv_open("UTF-16LE", from.c_str())) {}
  bool ok() const { return static_cast<bool>(cd_); }

  // Invalid or cut-off sequences become one replacement character per byte skipped.
  void Convert(std::string_view bytes, std::u16string& out) {
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    std::u16string chunk(4096, u'\0');
    while (inLeft > 0) {
      char* to = reinterpret_cast<char*>(chunk.data());
      size_t toLeft = chunk.size() * sizeof(char16_t);
      const size_t r = iconv(cd_.get(), &in, &inLeft, &to, &toLeft);
      const size_t units = chunk.size() - toLeft / sizeof(char16_t);
      for (size_t i = 0; i < units; ++i) out += FromLittleEndian(chunk[i]);
      if (r == static_cast<size_t>(-1) && errno != E2BIG) {
        out += kReplacement;
        ++in;
        --inLeft;
        iconv(cd_.get(), nullptr, nullptr, nullptr, nullptr);
      }
    }
  }

 private:
  static char16_t FromLittleEndian(char16_t unit) {
    const auto* b = reinterpret_cast<const unsigned char*>(&unit);
    return static_cast<char16_t>(b[0] | (b[1] << 8));
  }
  UniqueIconv cd_;
};

}  // namespace

bool CodePageToUtf16(uint32_t codePage, std::string_view bytes, std::u16string& out) {
  Converter converter(IconvName(codePage));
  if (!converter.ok()) return false;
  converter.Convert(bytes, out);
  return true;
}

std::u16string SystemErrorText(uint32_t error) {
  switch (error) {
    case syserr::FileNotFound: return u"The system cannot find the file specified.";
    case syserr::PathNotFound: return u"The system cannot find the path specified.";
    case syserr::AccessDenied: return u"Access is denied.";
    case syserr::NotEnoughMemory:
      return u"Not enough memory resources are available to process this command.";
    case syserr::FileTooLarge:
      return u"The file size exceeds the limit allowed and cannot be saved.";
    case syserr::ReadFault: return u"The system cannot read from the specified device.";
    default: return u"Error " + AsciiToUtf16(std::to_string(error)) + u".";
  }
}

}  // namespace norvi
