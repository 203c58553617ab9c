#include "deep_search/text_trust.h"

#include <algorithm>

#include "symbology/format_match.h"

namespace tagmora::deep {
namespace {

constexpr std::string_view kCode39Characters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
static_assert(kCode39Characters.size() == 43);

constexpr int kLinesToAgree = 2;

}  // namespace

char Code39CheckCharacter(std::string_view text) {
    std::size_t sum = 0;
    for (char c : text) {
        const std::size_t value = kCode39Characters.find(c);
        if (value == std::string_view::npos) return 0;
        sum += value;
    }
    return kCode39Characters[sum % 43];
}

std::optional<std::string> FittingText(const LineSymbol& symbol, std::string_view format) {
    const std::string_view text = symbol.Text;
    if (text.empty()) return std::nullopt;
    if (MatchesFormat(text, format)) return std::string(text);
    if (symbol.Symbology != LineSymbology::Code39 || text.size() < 2) return std::nullopt;
    const std::string_view data = text.substr(0, text.size() - 1);
    if (Code39CheckCharacter(data) == text.back() && MatchesFormat(data, format)) return std::string(data);
    return std::nullopt;
}

void CountLine(std::vector<Vote>& votes, int line, const std::vector<LineSymbol>& symbols, std::string_view format) {
    std::vector<std::string> counted;  // one vote per text and line
    for (const LineSymbol& symbol : symbols) {
        const auto text = FittingText(symbol, format);
        if (!text || std::find(counted.begin(), counted.end(), *text) != counted.end()) continue;
        counted.push_back(*text);
        auto vote = std::find_if(votes.begin(), votes.end(), [&](const Vote& v) { return v.Text == *text; });
        if (vote == votes.end()) {
            votes.push_back({*text, 0, false, line, symbol.EndSample});
            vote = votes.end() - 1;
        }
        ++vote->Lines;
        vote->Checked = vote->Checked || symbol.Symbology == LineSymbology::Code128;
    }
}

std::vector<Vote> TrustedVotes(const std::vector<Vote>& votes) {
    std::vector<Vote> trusted;
    for (const Vote& v : votes)
        if (v.Checked || v.Lines >= kLinesToAgree) trusted.push_back(v);
    return trusted;
}

}  // namespace tagmora::deep
