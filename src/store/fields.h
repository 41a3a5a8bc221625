#pragma once
// Fixed-width text fields and little-endian integers of the index files.
// Text is UTF-8; a field is cut at a character boundary and padded with
// blanks, and reads back up to its first NUL without trailing blanks.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/files.h"

namespace pellion::field {

// Exactly width bytes: text cut at a character boundary, blank-padded.
std::string fit(const std::string& text, std::size_t width);
// What a label shows of a stored field: up to the first NUL, right-trimmed.
std::string text(const std::uint8_t* data, std::size_t width);
// The text of bytes [offset, offset + width) of a file's content; the part
// beyond the end of the file counts as blank.
std::string textAt(const files::Bytes& bytes, std::size_t offset, std::size_t width);
// A title as the model keeps it: up to its first NUL, at most 50 bytes cut at
// a character boundary, right-trimmed.
std::string title(const std::string& text);
std::string rightTrim(std::string text);
std::string leftTrim(std::string text);

// Integers at offset; fallback when the file ends before them.
std::int16_t i16At(const files::Bytes& bytes, std::size_t offset, std::int16_t fallback);
std::int32_t i32At(const files::Bytes& bytes, std::size_t offset, std::int32_t fallback);
void putI16(files::Bytes& bytes, std::int16_t value);
void putI32(files::Bytes& bytes, std::int32_t value);
void putText(files::Bytes& bytes, const std::string& text, std::size_t width);

}  // namespace pellion::field
