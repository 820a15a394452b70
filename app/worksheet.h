// The worksheet of a calculation, for print or a PDF file: the f(x) as
// typed, the three inputs, the outcome, the graph as shown (with the basin
// strip when it shows), the convergence plot and every row of the table,
// over as many pages as the rows need. Texts are drawn as text; the graph
// is painted afresh at the page's resolution.
#pragma once

#include <string>

class QPagedPaintDevice;

namespace quorel {

class FrmConvergence;
class FrmDSPDTA;
class FrmGraph;

struct WorksheetInputs {
    std::string fx;
    std::string initialValue;
    std::string tolerance;
    std::string loops;
};

struct WorksheetParts {
    WorksheetInputs inputs;
    std::string outcome;
    const FrmDSPDTA& table;
    FrmGraph& graph;
    FrmConvergence& convergence;
};

// Draws the worksheet on `device`, starting on its current page; false when
// the device cannot be painted on (a file that cannot be written).
bool paintWorksheet(QPagedPaintDevice& device, const WorksheetParts& parts);

// Writes the worksheet as a PDF file; false when it cannot be written.
bool saveWorksheetPdf(const std::string& fileName, const WorksheetParts& parts);

}  // namespace quorel
