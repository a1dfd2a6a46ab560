#include "platform/profile_document.h"

#include "platform/ansi_text.h"

namespace platform {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

bool IsBlankLine(std::string_view text) {
    return Trim(text).empty();
}

// What one line is, with the positions of its parts inside the line.
struct LineInfo {
    enum class Kind { kOther, kSection, kKey } kind = Kind::kOther;
    std::string_view name;
    std::size_t valueBegin = 0;  // keys: where the value text starts
    std::size_t valueEnd = 0;    // keys: one past its last non-blank byte
};

LineInfo Classify(std::string_view line) {
    LineInfo info;
    std::size_t start = 0;
    while (start < line.size() && IsBlank(line[start])) {
        ++start;
    }
    if (start == line.size() || line[start] == ';') {
        return info;
    }
    if (line[start] == '[') {
        const std::size_t close = AnsiFind(line, ']', start + 1);
        const std::size_t nameEnd = close == std::string_view::npos ? line.size() : close;
        info.kind = LineInfo::Kind::kSection;
        info.name = Trim(line.substr(start + 1, nameEnd - start - 1));
        return info;
    }
    const std::size_t equals = AnsiFind(line, '=', start);
    if (equals == std::string_view::npos) {
        return info;
    }
    info.kind = LineInfo::Kind::kKey;
    info.name = Trim(line.substr(start, equals - start));
    info.valueBegin = equals + 1;
    while (info.valueBegin < line.size() && IsBlank(line[info.valueBegin])) {
        ++info.valueBegin;
    }
    info.valueEnd = line.size();
    while (info.valueEnd > info.valueBegin && IsBlank(line[info.valueEnd - 1])) {
        --info.valueEnd;
    }
    return info;
}

}  // namespace

ProfileDocument::ProfileDocument(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t newline = bytes.find('\n', pos);
        if (newline == std::string_view::npos) {
            lines_.push_back({std::string(bytes.substr(pos)), ""});
            break;
        }
        std::size_t textEnd = newline;
        if (textEnd > pos && bytes[textEnd - 1] == '\r') {
            --textEnd;
        }
        lines_.push_back({std::string(bytes.substr(pos, textEnd - pos)),
                          std::string(bytes.substr(textEnd, newline + 1 - textEnd))});
        pos = newline + 1;
    }
    // Added lines follow the file's first line end; a file without one gets
    // the line end of this platform.
    lineEnd_ = (!lines_.empty() && !lines_.front().end.empty()) ? lines_.front().end : "\n";
}

std::optional<ProfileDocument::SectionRange> ProfileDocument::FindSection(
    std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const LineInfo info = Classify(lines_[i].text);
        if (info.kind != LineInfo::Kind::kSection || !AnsiEqualNoCase(info.name, section)) {
            continue;
        }
        std::size_t end = i + 1;
        while (end < lines_.size() && Classify(lines_[end].text).kind != LineInfo::Kind::kSection) {
            ++end;
        }
        return SectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> ProfileDocument::FindKey(const SectionRange& range,
                                                    std::string_view key) const {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const LineInfo info = Classify(lines_[i].text);
        if (info.kind == LineInfo::Kind::kKey && AnsiEqualNoCase(info.name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ProfileDocument::Find(std::string_view section,
                                                 std::string_view key) const {
    const auto range = FindSection(section);
    if (!range) {
        return std::nullopt;
    }
    const auto index = FindKey(*range, key);
    if (!index) {
        return std::nullopt;
    }
    const std::string& text = lines_[*index].text;
    const LineInfo info = Classify(text);
    return text.substr(info.valueBegin, info.valueEnd - info.valueBegin);
}

void ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string keyLine = std::string(key) + "=" + std::string(value);
    const auto range = FindSection(section);
    if (!range) {
        if (!lines_.empty() && !IsBlankLine(lines_.back().text)) {
            Append("");
        }
        Append("[" + std::string(section) + "]");
        Append(keyLine);
        return;
    }
    if (const auto index = FindKey(*range, key)) {
        std::string& text = lines_[*index].text;
        text = text.substr(0, Classify(text).valueBegin) + std::string(value);
        return;
    }
    std::size_t after = range->header;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        if (Classify(lines_[i].text).kind == LineInfo::Kind::kKey) {
            after = i;
        }
    }
    InsertAfter(after, keyLine);
}

void ProfileDocument::InsertAfter(std::size_t index, std::string text) {
    if (lines_[index].end.empty()) {
        lines_[index].end = lineEnd_;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                  Line{std::move(text), lineEnd_});
}

void ProfileDocument::Append(std::string text) {
    if (lines_.empty()) {
        lines_.push_back({std::move(text), lineEnd_});
    } else {
        InsertAfter(lines_.size() - 1, std::move(text));
    }
}

std::string ProfileDocument::Text() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.text;
        out += line.end;
    }
    return out;
}

}  // namespace platform
