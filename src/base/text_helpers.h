#pragma once
// Small text operations on 8-bit strings that several parts of the program
// share. Names, log lines and reports are UTF-8.
#include <string>
#include <string_view>

namespace tagmora {

inline constexpr std::string_view kCrLf = "\r\n";

// Takes the leading piece of source up to the first separator and removes it
// and the separator from source. A CR LF separator also accepts a lone LF.
// Without a separator the whole source is the piece (untrimmed) and source
// becomes empty. With trim, bytes of code 32 or below leave both ends.
std::string ReadLeadingPiece(std::string& source, std::string_view separator, bool trim);

// Bytes of code 32 or below removed from both ends.
std::string TrimControlAndBlank(std::string_view text);

char ToLowerAscii(char c);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Whether text begins with start, compared without regard to letter case.
bool StartsWithNoCase(std::string_view text, std::string_view start);
// Position of the first occurrence of needle ignoring ASCII letter case, or npos.
std::size_t FindNoCase(std::string_view haystack, std::string_view needle, std::size_t from = 0);
bool ContainsNoCase(std::string_view haystack, std::string_view needle);
// Every occurrence, left to right and without overlap, ignoring letter case.
std::string ReplaceAllNoCase(std::string_view text, std::string_view from, std::string_view to);
// Every occurrence, left to right and without overlap, exact.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// The length of the UTF-8 sequence starting at text[at], 0 when none starts
// there (a stray byte of some older code page).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);
// The character starting at text[at]: its UTF-8 sequence, or the single byte
// when none starts there. Empty at the end of the text.
std::string_view CharacterAt(std::string_view text, std::size_t at);
// Characters in text, each counted as CharacterAt takes it.
std::size_t CharacterCount(std::string_view text);
// The first count characters of text (all of it when it has fewer).
std::string_view FirstCharacters(std::string_view text, std::size_t count);
// ISO 8859-1 text (one byte a character, as Code 128 encodes its extended
// characters) as UTF-8.
std::string Latin1ToUtf8(std::string_view latin1);

// The decimal integer a settings value holds, 0 when it is not one (leading
// blanks allowed, as a trimmed value may still carry none).
int DecimalOrZero(std::string_view text);

// Letter suffixes of the photographs of one specimen: 1 is "a", 26 "z", 27
// "aa", 52 "az", 53 "ba", 702 "zz", and so on; never anything but a to z.
// A count below 1 gives "a".
std::string LetterSuffix(int n);
// The suffix after the given one in that order ("z" -> "aa", "zz" -> "aaa");
// a text that is not such a suffix starts again at "a".
std::string NextLetterSuffix(std::string_view suffix);

}  // namespace tagmora
