#include "engine/fx_problem.h"

namespace quorel {
namespace {

bool isPower(const FxPiece& p) {
    return p.kind == PieceKind::Operator && p.token == "^";
}

// The end of the group whose "(" is the piece k; `unclosed` counts the ")"
// the text lacks.
std::size_t groupEnd(const std::vector<FxPiece>& pieces, std::size_t k, int& unclosed) {
    int depth = 0;
    for (; k < pieces.size(); ++k) {
        if (pieces[k].kind == PieceKind::Open) ++depth;
        if (pieces[k].kind == PieceKind::Close && --depth == 0) return k + 1;
    }
    unclosed += depth;
    return k;
}

// The end of the operand that starts at the piece k, 0 when none starts there.
std::size_t primaryEnd(const std::vector<FxPiece>& pieces, std::size_t k, int& unclosed) {
    if (k >= pieces.size()) return 0;
    switch (pieces[k].kind) {
        case PieceKind::Number:
        case PieceKind::X:
        case PieceKind::Unknown:
            return k + 1;
        case PieceKind::Open:
            return groupEnd(pieces, k, unclosed);
        case PieceKind::Function:
            if (k + 1 < pieces.size() && pieces[k + 1].kind == PieceKind::X) return k + 2;
            if (k + 1 < pieces.size() && pieces[k + 1].kind == PieceKind::Open)
                return groupEnd(pieces, k + 1, unclosed);
            return 0;
        case PieceKind::Operator:
        case PieceKind::Close:
            return 0;
    }
    return 0;
}

}  // namespace

FxProblem problemAt(FxProblemKind kind, std::string_view text, const std::vector<FxPiece>& pieces,
                    std::size_t at) {
    const FxPiece& p = pieces[at];
    return {kind,
            std::string(text.substr(p.begin, p.end - p.begin)),
            characterPosition(text, p.begin),
            {},
            {}};
}

void bracketSign(FxProblem& problem, std::string_view text, const std::vector<FxPiece>& pieces,
                 std::size_t sign) {
    int unclosed = 0;
    std::size_t end = primaryEnd(pieces, sign + 1, unclosed);
    while (end != 0 && end < pieces.size() && isPower(pieces[end]))
        end = primaryEnd(pieces, end + 1, unclosed);
    if (end == 0) return;
    const std::size_t from = pieces[sign].begin;
    const std::size_t to = pieces[end - 1].end;
    std::string& part = problem.bracketedPart;
    part.assign(1, '(');
    part.append(text.substr(from, to - from));
    part.append(static_cast<std::size_t>(unclosed) + 1, ')');
    problem.bracketed.assign(text.substr(0, from));
    problem.bracketed.append(part);
    problem.bracketed.append(text.substr(to));
}

}  // namespace quorel
