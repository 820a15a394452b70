#include "engine/sequence_check.h"

#include "engine/engine.h"
#include "engine/operators.h"

namespace quorel {

SequenceCheck checkSequence(Engine& engine) {
    if (engine.sequenceCut()) return {SequenceProblem::CutShort, -1};
    Queue& q = engine.FxQueue;
    q.SetValue();
    int depth = 0;
    for (int slot = q.front(), count = q.unread(); count > 0; --count) {
        if (++slot == Queue::kRing) slot = 0;
        const CompiledToken& t = q.compiledAt(slot);
        if (t.kind == SlotKind::End) break;
        if (t.kind == SlotKind::BadNumber) return {SequenceProblem::BadNumber, -1};
        if (t.kind != SlotKind::Operator) {
            ++depth;
            continue;
        }
        const int taken = kOperators[t.row].operands;
        if (depth < taken) return {SequenceProblem::MissingOperand, t.row};
        depth -= taken - 1;
    }
    if (depth == 0) return {SequenceProblem::Empty, -1};
    return {};
}

std::string_view tokenText(int row) {
    return row < 0 || row >= kOperatorCount ? std::string_view() : kOperators[row].written;
}

}  // namespace quorel
