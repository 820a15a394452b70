// A fresh program, started headless, with its dialogs recorded; includes the
// widgets its windows hand out.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/mdi_form.h"
#include "common/form_geometry.h"
#include "graph/frm_graph.h"
#include "recording_dialogs.h"
#include "solver/frm_fx.h"
#include "solver/frm_wait.h"
#include "table/frm_dspdta.h"

namespace quorel::testing {

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override { restart(); }
    void restart() {
        main = std::make_unique<MDIForm1>(&dialogs);
        main->show();
        QApplication::processEvents();
    }
    FrmFx& panel() { return main->frmFx(); }
    FrmDSPDTA& table() { return main->frmDspdta(); }
    FrmGraph& graph() { return main->frmGraph(); }

    RecordingDialogs dialogs;
    std::unique_ptr<MDIForm1> main;
};

}  // namespace quorel::testing
