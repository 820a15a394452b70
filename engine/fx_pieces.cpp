#include "engine/fx_pieces.h"

#include "common/failure.h"
#include "common/numtext.h"

namespace quorel {
namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The typed text without the skipped characters, each byte with its offset.
class Compact {
  public:
    explicit Compact(std::string_view text) : text_(text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (!isSkippedChar(text[i])) at_.push_back(i);
        }
    }
    std::size_t size() const { return at_.size(); }
    char operator[](std::size_t k) const { return k < at_.size() ? text_[at_[k]] : '\0'; }
    bool has(std::size_t k) const { return k < at_.size(); }

    // The piece made of compact bytes [from, to).
    FxPiece piece(PieceKind kind, std::size_t from, std::size_t to) const {
        std::string token;
        for (std::size_t k = from; k < to; ++k) token += lowerAscii((*this)[k]);
        return {kind, std::move(token), at_[from], at_[to - 1] + 1};
    }

  private:
    std::string_view text_;
    std::vector<std::size_t> at_;
};

// The end of the number that starts at k, and whether it is one.
std::size_t numberEnd(const Compact& c, std::size_t k, bool& wellFormed) {
    auto inRun = [&](std::size_t j) { return c.has(j) && (isDecimalDigit(c[j]) || c[j] == '.'); };
    int digits = 0;
    int points = 0;
    std::size_t j = k;
    for (; inRun(j); ++j) (c[j] == '.' ? points : digits) += 1;
    const char e = lowerAscii(c[j]);
    if (digits > 0 && c.has(j) && (e == 'e' || e == 'd')) {
        std::size_t d = j + 1;
        if (c[d] == '+' || c[d] == '-') ++d;
        if (c.has(d) && isDecimalDigit(c[d])) {
            while (c.has(d) && isDecimalDigit(c[d])) ++d;
            j = d;
        }
    }
    wellFormed = digits > 0 && points <= 1 && !inRun(j);
    while (inRun(j)) ++j;
    return j;
}

// The length of the longest function name of the table that the letters
// [k, end) begin with, or 0.
std::size_t functionAt(const Compact& c, std::size_t k, std::size_t end, OperatorTable operators) {
    std::size_t longest = 0;
    for (const OperatorRow& row : operators) {
        const std::string_view name = row.name;
        if (row.operation != Operation::Function || name.size() <= longest || name.size() > end - k)
            continue;
        std::size_t i = 0;
        while (i < name.size() && lowerAscii(c[k + i]) == name[i]) ++i;
        if (i == name.size()) longest = i;
    }
    return longest;
}

// Splits the letters [k, end) into function names and x; false when they do
// not split.
bool splitLetters(const Compact& c, std::size_t k, std::size_t end, OperatorTable operators,
                  std::vector<FxPiece>& out) {
    const std::size_t first = out.size();
    while (k < end) {
        if (const std::size_t n = functionAt(c, k, end, operators); n > 0) {
            out.push_back(c.piece(PieceKind::Function, k, k + n));
            k += n;
        } else if (lowerAscii(c[k]) == 'x') {
            FxPiece x = c.piece(PieceKind::X, k, k + 1);
            x.token.assign(1, 'X');
            out.push_back(std::move(x));
            ++k;
        } else {
            out.resize(first);
            return false;
        }
    }
    return true;
}

}  // namespace

std::vector<FxPiece> readPieces(std::string_view text, OperatorTable operators) {
    const Compact c(text);
    std::vector<FxPiece> pieces;
    std::size_t k = 0;
    while (c.has(k)) {
        const char ch = c[k];
        if (isDecimalDigit(ch) || ch == '.') {
            bool wellFormed = false;
            const std::size_t end = numberEnd(c, k, wellFormed);
            FxPiece p = c.piece(wellFormed ? PieceKind::Number : PieceKind::Unknown, k, end);
            if (wellFormed) {
                try {
                    textToNumber(p.token);
                } catch (const Failure&) {
                    p.beyondRange = true;
                }
            }
            pieces.push_back(std::move(p));
            k = end;
        } else if (isLetter(ch)) {
            std::size_t end = k;
            while (c.has(end) && isLetter(c[end])) ++end;
            if (!splitLetters(c, k, end, operators, pieces)) {
                pieces.push_back(c.piece(PieceKind::Unknown, k, end));
            }
            k = end;
        } else if (ch == '+' || ch == '-' || ch == '*' || ch == '/' || ch == '^') {
            pieces.push_back(c.piece(PieceKind::Operator, k, k + 1));
            ++k;
        } else if (ch == '(' || ch == ')') {
            pieces.push_back(c.piece(ch == '(' ? PieceKind::Open : PieceKind::Close, k, k + 1));
            ++k;
        } else {
            // One character: a byte and the continuation bytes of its UTF-8 form.
            std::size_t end = k + 1;
            while (c.has(end) && isContinuation(c[end])) ++end;
            pieces.push_back(c.piece(PieceKind::Unknown, k, end));
            k = end;
        }
    }
    return pieces;
}

int characterPosition(std::string_view text, std::size_t offset) {
    int position = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i)
        position += !isContinuation(text[i]);
    return position;
}

}  // namespace quorel
