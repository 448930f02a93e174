#include "platform/Gbk.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace xr::platform {

namespace {

// One iconv descriptor for the call, closed whatever happens.
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("The GBK converter is not available.");
    }
    ~IconvHandle() { iconv_close(m_cd); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    iconv_t get() const { return m_cd; }

private:
    iconv_t m_cd;
};

// Bytes of the sequence at `text` that the converter refused: the lead byte and the
// continuation bytes that it announces, so that one character, or one stray byte, becomes one
// '?'.
std::size_t refusedLength(const char* text, std::size_t available)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t announced = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    std::size_t length = 1;
    while (length < announced && length < available &&
           (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        ++length;
    return length;
}

// Converts `text` with `converter`; `refused` tells how many bytes of a sequence that cannot be
// converted are skipped for one '?'.
std::string convert(const IconvHandle& converter, const std::string& text,
                    std::size_t (*refused)(const char*, std::size_t))
{
    std::string result;
    // A full buffer is emptied and the conversion goes on.
    std::string buffer(text.size() + 8, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        char* out = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t done = iconv(converter.get(), &in, &inLeft, &out, &outLeft);
        result.append(buffer.data(), buffer.size() - outLeft);
        if (done != static_cast<std::size_t>(-1))
            break;
        const int error = errno;
        if (error == E2BIG)
            continue;
        if (error != EILSEQ && error != EINVAL)
            throw std::runtime_error("The text could not be converted.");
        result.push_back('?');
        if (error == EINVAL) // the text ends inside a sequence
            break;
        const std::size_t skipped = refused(in, inLeft);
        in += skipped;
        inLeft -= skipped;
    }
    return result;
}

// Converts all of `text`, into at most `capacity` bytes; nothing when any of it cannot be.
std::optional<std::string> convertExactly(const char* to, const char* from, const std::string& text,
                                          std::size_t capacity)
{
    IconvHandle converter(to, from);
    std::string result(capacity, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* out = result.data();
    std::size_t outLeft = result.size();
    if (iconv(converter.get(), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1))
        return std::nullopt;
    result.resize(result.size() - outLeft);
    return result;
}

} // namespace

std::optional<std::string> exactFromGbk(const std::string& gbk)
{
    // A GBK character of two bytes takes at most three in UTF-8, one byte at most one.
    return convertExactly("UTF-8", "GBK", gbk, gbk.size() * 3 / 2 + 4);
}

std::optional<std::string> exactToGbk(const std::string& utf8)
{
    // No character takes more bytes in GBK than in UTF-8.
    return convertExactly("GBK", "UTF-8", utf8, utf8.size() + 4);
}

std::string toGbk(const std::string& utf8)
{
    return convert(IconvHandle("GBK", "UTF-8"), utf8, refusedLength);
}

std::string fromGbk(const std::string& gbk)
{
    // A lead byte and a trail byte after it form one character; any other byte stands alone.
    const auto refusedPair = [](const char* text, std::size_t available) -> std::size_t {
        const auto lead = static_cast<unsigned char>(text[0]);
        const auto trail = available > 1 ? static_cast<unsigned char>(text[1]) : 0;
        return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F ? 2 : 1;
    };
    return convert(IconvHandle("UTF-8", "GBK"), gbk, refusedPair);
}

} // namespace xr::platform
