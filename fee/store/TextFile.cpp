#include "fee/store/TextFile.h"

#include <utility>

#include "platform/Cp1253.h"

namespace fee {

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}
}  // namespace

FieldReader::FieldReader(std::string utf8) : content_(std::move(utf8)) {}

bool FieldReader::atEnd() const {
    return pos_ >= content_.size();
}

std::optional<std::string> FieldReader::rawField() {
    if (atEnd()) return std::nullopt;
    const std::size_t size = content_.size();
    while (pos_ < size && isBlank(content_[pos_])) ++pos_;

    std::string field;
    if (pos_ < size && content_[pos_] == '"') {
        const std::size_t close = content_.find('"', pos_ + 1);
        const std::size_t stop = close == std::string::npos ? size : close;
        field = content_.substr(pos_ + 1, stop - pos_ - 1);
        pos_ = close == std::string::npos ? size : close + 1;
        // Whatever follows the closing quote up to the field's end is not part of it.
        while (pos_ < size && content_[pos_] != ',' && !isLineEnd(content_[pos_])) ++pos_;
    } else {
        const std::size_t start = pos_;
        while (pos_ < size && content_[pos_] != ',' && !isLineEnd(content_[pos_])) ++pos_;
        field = content_.substr(start, pos_ - start);
    }

    if (pos_ < size) {
        if (content_[pos_] == '\r' && pos_ + 1 < size && content_[pos_ + 1] == '\n')
            pos_ += 2;
        else
            ++pos_;
    }
    return field;
}

std::optional<std::string> FieldReader::text() {
    return rawField();
}

std::optional<double> FieldReader::number() {
    auto field = rawField();
    if (!field) return std::nullopt;
    return parseFieldNumber(*field).value_or(0.0);
}

std::optional<float> FieldReader::single() {
    auto value = number();
    if (!value) return std::nullopt;
    return static_cast<float>(*value);
}

std::optional<std::int16_t> FieldReader::int16() {
    auto value = number();
    if (!value) return std::nullopt;
    return toInt16(*value).value_or(std::int16_t{0});
}

LineWriter::LineWriter(std::string decimalSeparator) : separator_(std::move(decimalSeparator)) {}

LineWriter& LineWriter::text(std::string_view utf8) {
    out_ += utf8;
    return *this;
}

LineWriter& LineWriter::number(double value, Width width) {
    out_ += printStyle(value, width, separator_);
    return *this;
}

LineWriter& LineWriter::number(std::optional<double> value, Width width) {
    if (value) number(*value, width);
    return *this;
}

LineWriter& LineWriter::endLine() {
    out_ += "\r\n";
    return *this;
}

LineWriter& LineWriter::line(std::string_view utf8) {
    return text(utf8).endLine();
}

std::optional<std::string> LineWriter::bytes() const {
    return platform::utf8ToCp1253(out_);
}

}  // namespace fee
