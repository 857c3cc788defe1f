#include "config/ProfileImage.h"

#include "config/LowerCase.h"

namespace {

std::string Trimmed(const std::string& text)
{
    const char* blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// A value as a read gives it back: without blanks around it and without one
// pair of quotes around the whole (the profile functions drop those).
std::string ValueKey(const std::string& value)
{
    std::string text = Trimmed(value);
    if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0])
        text = text.substr(1, text.size() - 2);
    return text;
}

std::string NameKey(const std::string& name)
{
    return LowerCase(Trimmed(name));
}

}  // namespace

ProfileImage::Section* ProfileImage::Find(const std::string& name)
{
    for (Section& section : sections_) {
        if (NameKey(section.name) == NameKey(name))
            return &section;
    }
    return nullptr;
}

const ProfileImage::Section* ProfileImage::Find(const std::string& name) const
{
    return const_cast<ProfileImage*>(this)->Find(name);
}

void ProfileImage::AddSection(const std::string& name, const std::vector<std::string>& lines)
{
    if (Find(name) != nullptr)
        return;
    Section section{name, {}};
    for (const std::string& line : lines) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            section.lines.emplace_back(line, std::string());
        else
            section.lines.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }
    sections_.push_back(section);
}

void ProfileImage::Set(const std::string& sectionName, const std::string& key, const std::string& value)
{
    Section* section = Find(sectionName);
    if (section == nullptr) {
        sections_.push_back(Section{sectionName, {}});
        section = &sections_.back();
    }
    for (Line& line : section->lines) {
        if (NameKey(line.first) == NameKey(key)) {
            line.second = value;
            return;
        }
    }
    section->lines.emplace_back(key, value);
}

bool ProfileImage::SameAs(const ProfileImage& other) const
{
    if (sections_.size() != other.sections_.size())
        return false;
    for (const Section& section : sections_) {
        const Section* counterpart = other.Find(section.name);
        if (counterpart == nullptr || counterpart->lines.size() != section.lines.size())
            return false;
        for (std::size_t i = 0; i < section.lines.size(); ++i) {
            const Line& mine = section.lines[i];
            const Line& theirs = counterpart->lines[i];
            if (NameKey(mine.first) != NameKey(theirs.first) || ValueKey(mine.second) != ValueKey(theirs.second))
                return false;
        }
    }
    return true;
}
