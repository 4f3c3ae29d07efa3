#pragma once

// INI text as the profile functions of the old Windows runtime read it, and the same text with
// keys written into it. Pure: bytes in, bytes out; no files.

#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// One line of an INI text as both the reader and the writer see it, so that what is written is
// what is read back. The views point into the text.
struct IniLine {
    enum class Kind { Other, Section, Key };
    std::string_view text;  // the whole line as it stands, without its line end
    Kind kind = Kind::Other;
    std::string_view name;   // of a section or a key, without the blanks around it
    std::string_view value;  // of a key: what follows the first '=', without the blanks around it
};

// The lines of an INI text. LF, CR LF and a lone CR each end a line; a last line without an end
// counts. "[name]" is a section (anything after the ']' is ignored); "key=value" a key unless it
// starts with ';' or '#'; anything else (comments, words, blank lines, a '[' never closed) is
// another line. A UTF-8 mark that an editor put before the first line is not part of its name.
std::vector<IniLine> IniLines(std::string_view text);

// Section and key names compare without regard to the case of ASCII letters.
bool SameIniName(std::string_view a, std::string_view b);

// The keys of one section of an INI text (of every section of that name, in file order), read
// as the profile reader reads them.
class IniSection {
public:
    IniSection(std::string_view text, std::string_view section);

    // True when the text has a line naming the section.
    bool Present() const { return present_; }

    // The value of the first key of that name: without the blanks around it, a pair of
    // matching quotes (" or ') around it dropped, cut to the reader's 2047 characters. Without
    // such a key, def without its trailing blanks. A key present but empty gives "".
    std::string ReadString(std::string_view key, std::string_view def) const;

private:
    struct Key {
        std::string Name, Value;
    };
    std::vector<Key> keys_;
    bool present_ = false;
};

// A key to write and the value it is to read back as.
struct IniKeyValue {
    std::string Key;
    std::string Value;
};

// The text after writing values into section: a key already there (the first of duplicates,
// which is the one read back) is replaced in place and keeps the spelling of its name; new keys
// go after the last key of the first section of that name (comments and blank lines that end it
// stay below them), or into a new section at the end. Every other line stays where it stood.
// Every line ends in CR LF, as Windows writes them. A value the reader would change (blanks at
// an end, a pair of quotes around it) is written in quotes, which the reader takes off again.
std::string WriteIniKeys(std::string_view text, std::string_view section, const std::vector<IniKeyValue>& values);

}  // namespace kiv
