#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The text of a private-profile file, as bytes of the ANSI code page. The
// lines are kept byte for byte with their own line ends, so that setting a
// key changes only the line it touches (or adds lines) and leaves comments,
// blank lines and other sections as they were.
//
// A line "[name]" opens a section; a line "name=value" is a key of the
// section above it; blanks and tabs around names and values do not count; a
// line whose first non-blank character is ";" is a comment. Names are
// compared without regard to ASCII letter case. When a section or key occurs
// twice, the first one counts.
class ProfileDocument {
  public:
    explicit ProfileDocument(std::string_view bytes = {});

    // The value text of a key without the blanks around it (an inline comment
    // stays part of it), or nothing when the section or the key is missing.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    // Makes the key hold `value`. An existing key keeps its line up to where
    // its value starts; a missing key is added as "key=value" after the last
    // key of its section; a missing section is added at the end of the text,
    // after a blank line unless the text is empty or already ends with one.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    std::string Text() const;

  private:
    struct Line {
        std::string text;
        std::string end;  // "\r\n", "\n", or "" for a last line without a line end
    };

    struct SectionRange {
        std::size_t header;
        std::size_t end;  // one past the section's last line
    };

    std::optional<SectionRange> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKey(const SectionRange& range, std::string_view key) const;
    void InsertAfter(std::size_t index, std::string text);
    void Append(std::string text);

    std::vector<Line> lines_;
    std::string lineEnd_;
};

}  // namespace platform
