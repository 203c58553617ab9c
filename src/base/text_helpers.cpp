#include "base/text_helpers.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace tagmora {

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

std::string TrimControlAndBlank(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlankOrControl(text[first])) ++first;
    while (last > first && IsBlankOrControl(text[last - 1])) --last;
    return std::string(text.substr(first, last - first));
}

std::string ReadLeadingPiece(std::string& source, std::string_view separator, bool trim) {
    std::size_t at = separator.empty() ? std::string::npos : source.find(separator);
    std::size_t separatorLength = separator.size();
    // Files written by hand on Linux end their lines with LF alone.
    if (at == std::string::npos && separator == kCrLf) {
        at = source.find('\n');
        separatorLength = 1;
    }
    if (at == std::string::npos) {
        std::string piece = std::move(source);
        source.clear();
        return piece;
    }
    std::string piece = source.substr(0, at);
    source.erase(0, at + separatorLength);
    return trim ? TrimControlAndBlank(piece) : piece;
}

char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) return false;
    return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && EqualsNoCase(text.substr(0, start.size()), start);
}

std::size_t FindNoCase(std::string_view haystack, std::string_view needle, std::size_t from) {
    if (needle.empty()) return from <= haystack.size() ? from : std::string_view::npos;
    if (haystack.size() < needle.size()) return std::string_view::npos;
    for (std::size_t i = from; i + needle.size() <= haystack.size(); ++i)
        if (EqualsNoCase(haystack.substr(i, needle.size()), needle)) return i;
    return std::string_view::npos;
}

bool ContainsNoCase(std::string_view haystack, std::string_view needle) {
    return FindNoCase(haystack, needle) != std::string_view::npos;
}

namespace {

template <typename Find>
std::string ReplaceEach(std::string_view text, std::string_view from, std::string_view to, Find find) {
    if (from.empty()) return std::string(text);
    std::string result;
    result.reserve(text.size());
    std::size_t done = 0;
    for (std::size_t at = find(text, from, 0); at != std::string_view::npos; at = find(text, from, done)) {
        result.append(text.substr(done, at - done));
        result.append(to);
        done = at + from.size();
    }
    result.append(text.substr(done));
    return result;
}

}  // namespace

std::string ReplaceAllNoCase(std::string_view text, std::string_view from, std::string_view to) {
    return ReplaceEach(text, from, to,
                       [](std::string_view h, std::string_view n, std::size_t f) { return FindNoCase(h, n, f); });
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    return ReplaceEach(text, from, to,
                       [](std::string_view h, std::string_view n, std::size_t f) { return h.find(n, f); });
}

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    else
        return 0;
    if (at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 0;
    return length;
}

std::string_view CharacterAt(std::string_view text, std::size_t at) {
    if (at >= text.size()) return {};
    return text.substr(at, std::max<std::size_t>(Utf8SequenceLength(text, at), 1));
}

std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); at += CharacterAt(text, at).size()) ++count;
    return count;
}

std::string_view FirstCharacters(std::string_view text, std::size_t count) {
    std::size_t at = 0;
    for (; at < text.size() && count > 0; --count) at += CharacterAt(text, at).size();
    return text.substr(0, at);
}

std::string Latin1ToUtf8(std::string_view latin1) {
    std::string text;
    text.reserve(latin1.size());
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
            continue;
        }
        text += static_cast<char>(0xC0 | (byte >> 6));
        text += static_cast<char>(0x80 | (byte & 0x3F));
    }
    return text;
}

int DecimalOrZero(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) return 0;
    return value;
}

std::string LetterSuffix(int n) {
    std::string letters;
    // Counting in base 26 without a zero digit: after "z" comes "aa".
    for (long long rest = n < 1 ? 1 : n; rest > 0; rest = (rest - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('a' + (rest - 1) % 26));
    return letters;
}

std::string NextLetterSuffix(std::string_view suffix) {
    const bool letters =
        !suffix.empty() && suffix.find_first_not_of("abcdefghijklmnopqrstuvwxyz") == std::string_view::npos;
    if (!letters) return "a";
    std::string next(suffix);
    for (auto it = next.rbegin(); it != next.rend(); ++it) {
        if (*it != 'z') {
            ++*it;
            return next;
        }
        *it = 'a';
    }
    return "a" + next;
}

}  // namespace tagmora
