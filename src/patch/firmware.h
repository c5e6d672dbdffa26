#pragma once

#include "templateline.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace jukora::patch {

/// A hex number of one to eight digits (a 32-bit flash address), or nothing.
std::optional<std::uint32_t> parseAddress(std::string_view text);

/// Checks a template, line by line, against a byte-for-byte image of the
/// phone's flash: every patch line's old bytes must be the image's bytes at
/// its address, or the patch changes code that is not the code meant.
///
/// Lines are read as .vkp appliers read them: "+X" and "-X" set the offset
/// added to the addresses that follow (each replaces the one before; "+0"
/// cancels it); comments, pragmas and empty lines patch nothing; a patch
/// line is an address, an optional ":", then the old and the new bytes (a
/// line with only new bytes has nothing to compare). A placeholder line's
/// old value is its second field, as Generate copies it.
class FirmwareCheck
{
public:
    /// Puts the `length` bytes of the image at `offset` into `bytes`; false
    /// when they cannot be read.
    using ReadBytes =
        std::function<bool(std::uint64_t offset, std::size_t length, std::string *bytes)>;

    /// The image, of `imageSize` bytes, holds the flash from the address
    /// `base` on; only the bytes each line names are read, so an image of
    /// any size takes no memory.
    FirmwareCheck(std::uint64_t imageSize, ReadBytes read, std::uint32_t base)
        : m_imageSize(imageSize), m_read(std::move(read)), m_base(base)
    {
    }
    /// The same for an image held whole.
    FirmwareCheck(std::string_view image, std::uint32_t base);

    /// Checks the next template line, `t` being what readTemplateLine found
    /// in it. False when its old bytes are not the image's, with `why` saying
    /// how, as a reason for a FILE:LINE: error line.
    bool line(std::string_view line, const TemplateLine &t, std::string *why);

    /// The same for a line longer than kWholeLineBytes, of which only what
    /// readTemplateLine finds and the line's start are at hand. A patch
    /// line whose bytes run past that start is not compared, and `why`
    /// says so.
    bool longLine(const TemplateLine &t, std::string_view start, std::string *why);

    /// Patch lines whose old bytes were compared with the image.
    std::size_t checked() const { return m_checked; }
    std::size_t failed() const { return m_failed; }

private:
    bool compare(std::string_view address, std::string_view old, std::string *why);

    std::uint64_t m_imageSize;
    ReadBytes m_read;
    std::uint32_t m_base;
    std::int64_t m_offset = 0;
    std::size_t m_checked = 0;
    std::size_t m_failed = 0;
};

} // namespace jukora::patch
