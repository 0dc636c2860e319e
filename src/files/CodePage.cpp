#include "files/CodePage.h"

#include <algorithm>
#include <iconv.h>

namespace tram {

namespace {

constexpr char CodePageName[] = "WINDOWS-1250";
constexpr char16_t Replacement = u'\uFFFD';

bool isUndefinedByte(unsigned value)
{
    return value == 0x81 || value == 0x83 || value == 0x88 || value == 0x90 || value == 0x98;
}

// One conversion descriptor for one call; converting unit by unit keeps the
// one-to-one width even where a unit has no counterpart.
class Converter {
public:
    Converter(const char* to, const char* from)
        : cd_(iconv_open(to, from))
    {
    }
    ~Converter()
    {
        if (isOpen())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one unit; true only when it gives exactly outSize bytes.
    bool convert(const char* in, size_t inSize, char* out, size_t outSize)
    {
        if (!isOpen())
            return false;
        char buffer[8];
        char* inPtr = const_cast<char*>(in);
        char* outPtr = buffer;
        size_t inLeft = inSize;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
        const size_t written = sizeof buffer - outLeft;
        if (result == static_cast<size_t>(-1) || inLeft != 0 || written != outSize) {
            iconv(cd_, nullptr, nullptr, nullptr, nullptr); // back to the initial state
            return false;
        }
        std::copy(buffer, buffer + outSize, out);
        return true;
    }

    bool isOpen() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

private:
    iconv_t cd_;
};

} // namespace

QByteArray ToCodePage(QStringView text)
{
    Converter converter(CodePageName, "UTF-16LE");
    QByteArray bytes(text.size(), '?');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        if (!converter.convert(in, sizeof in, bytes.data() + i, 1) && isUndefinedByte(unit))
            bytes[i] = static_cast<char>(unit);
    }
    return bytes;
}

QString FromCodePage(QByteArrayView bytes)
{
    Converter converter("UTF-16LE", CodePageName);
    QString text(bytes.size(), QChar(Replacement));
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char in = bytes[i];
        unsigned char out[2];
        if (converter.convert(&in, 1, reinterpret_cast<char*>(out), sizeof out))
            text[i] = QChar(static_cast<char16_t>(out[0] | (out[1] << 8)));
        else if (isUndefinedByte(static_cast<unsigned char>(in)))
            text[i] = QChar(static_cast<char16_t>(static_cast<unsigned char>(in)));
    }
    return text;
}

bool CodePageAvailable()
{
    return Converter(CodePageName, "UTF-16LE").isOpen() && Converter("UTF-16LE", CodePageName).isOpen();
}

bool StandsForUndefinedByte(QChar c)
{
    return isUndefinedByte(c.unicode());
}

} // namespace tram
