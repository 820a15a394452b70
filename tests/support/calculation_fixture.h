// A fresh program with helpers to type the inputs, calculate and read the
// table and the recorded boxes.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "common/numtext.h"
#include "program_fixture.h"

namespace quorel::testing {

class CalculationTest : public ProgramTest {
  protected:
    // Types the inputs and presses Calculate; the boxes of earlier runs are forgotten.
    void calculate(const char* f, const char* x0, const char* loops = "55",
                   const char* tolerance = "0.000001") {
        panel().CmbFx().setEditText(f);
        panel().TexDFT().setText(x0);
        panel().TexLoops().setText(loops);
        panel().TexError().setText(tolerance);
        dialogs.messages.clear();
        QTest::mouseClick(&panel().CmdCal(), Qt::LeftButton);
    }
    double cell(int column, long long row) { return textToNumber(table().cellText(column, row)); }
    std::vector<std::string> rowTexts(long long row) {
        std::vector<std::string> texts;
        for (int c = 0; c < 4; ++c) texts.push_back(table().cellText(c, row));
        return texts;
    }
    // Whether a marker-coloured pixel lies r plot units left or right of (x, y).
    bool markerAround(double x, double y, double r) {
        const ProgramState& st = main->state();
        for (double dx : {r, -r, r + 0.02, -r + 0.02, r - 0.02, -r - 0.02}) {
            const QColor c = graph().picThree().pixelAt(x + dx + st.OffX, y + st.OrgY);
            if (c.green() > 200 && c.red() < 100 && c.blue() < 100) return true;
        }
        return false;
    }
    // Whether the graph holds a pixel of exactly this colour.
    bool graphHas(QRgb rgb) {
        const QImage img = graph().picThree().image();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) == rgb) return true;
        return false;
    }
};

}  // namespace quorel::testing
