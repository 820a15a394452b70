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

FxProblem firstProblem(std::string_view text, const std::vector<FxPiece>& pieces) {
    FxProblem problem;
    // What the last piece was; every state but Operand waits for an operand.
    enum class After { Start, Open, Operator, Sign, Function, Operand } after = After::Start;
    auto note = [&](FxProblemKind kind, std::size_t at) {
        if (problem.kind == FxProblemKind::None) problem = problemAt(kind, text, pieces, at);
    };
    // A sign right after an operator or a sign: the hint puts it in parentheses.
    auto noteBeforeSign = [&](FxProblemKind kind, std::size_t sign) {
        if (problem.kind != FxProblemKind::None) return;
        note(kind, sign - 1);
        bracketSign(problem, text, pieces, sign);
    };
    // Nothing stands where an operand should, before the piece `at`.
    auto noteMissing = [&](std::size_t at) {
        const std::size_t before = at - 1;
        if (after == After::Open && before > 0 && pieces[before - 1].kind == PieceKind::Function)
            note(FxProblemKind::FunctionArgument, before - 1);
        else if (after == After::Open)
            note(FxProblemKind::EmptyGroup, before);
        else if (after == After::Operator)
            note(FxProblemKind::OperatorOperand, before);
        else if (after == After::Sign)
            note(FxProblemKind::SignOperand, before);
        else if (after == After::Function)
            note(FxProblemKind::FunctionArgument, before);
    };

    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const FxPiece& p = pieces[i];
        switch (p.kind) {
            case PieceKind::Number:
            case PieceKind::X:
            case PieceKind::Unknown:
                if (p.kind == PieceKind::Unknown) note(FxProblemKind::UnknownPiece, i);
                if (p.beyondRange) note(FxProblemKind::BeyondRange, i);
                if (after == After::Function && p.kind == PieceKind::Number) noteMissing(i);
                // A number after x or ")" is no product.
                if (after == After::Operand && p.kind == PieceKind::Number)
                    note(FxProblemKind::NumberAfter, i);
                after = After::Operand;
                break;
            case PieceKind::Function:
                if (after == After::Function) noteMissing(i);
                after = After::Function;
                break;
            case PieceKind::Open:
                after = After::Open;
                break;
            case PieceKind::Close:
                if (after == After::Start) note(FxProblemKind::CloseFirst, i);
                noteMissing(i);
                after = After::Operand;
                break;
            case PieceKind::Operator: {
                const bool sign = p.token == "+" || p.token == "-";
                const bool atStart = after == After::Start || after == After::Open;
                if (sign && atStart) {
                    after = After::Sign;
                    break;
                }
                if (atStart) {
                    note(FxProblemKind::OperatorOperand, i);
                } else if (sign && after == After::Operator) {
                    noteBeforeSign(FxProblemKind::OperatorOperand, i);
                } else if (sign && after == After::Sign) {
                    noteBeforeSign(FxProblemKind::SignOperand, i);
                } else {
                    noteMissing(i);
                }
                after = After::Operator;
                break;
            }
        }
    }
    if (after == After::Start) {
        problem.kind = FxProblemKind::Empty;
    } else if (after != After::Operand) {
        noteMissing(pieces.size());
    }
    return problem;
}

}  // namespace quorel
