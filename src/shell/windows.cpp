#include "shell/windows.h"

#include "dialogs/budowa.h"
#include "dialogs/inne_wypel.h"
#include "dialogs/uwaga.h"
#include "dialogs/wpr_licz.h"
#include "dialogs/wpr_text.h"
#include "dialogs/wybor_profili.h"
#include "dialogs/zalozenia.h"
#include "export/export_command.h"
#include "output/Txtview1.h"
#include "params/Unit2.h"
#include "params/Unit3.h"
#include "pricing/cennik.h"
#include "shell/about.h"
#include "shell/app_state.h"
#include "shell/main.h"

namespace tablix {

WindowSet::WindowSet(AppState &state)
{
    w.form1 = new TForm1(state);
    // The dialogs belong to the main window, which they centre on and stay above.
    w.form2 = new TForm2(state, w, w.form1);
    w.form3 = new TForm3(state, w.form1);
    w.aboutBox = new TAboutBox(state, w.form1);
    w.form5 = new TForm5(state, w, w.form1);
    w.form6 = new TForm6(state, w, w.form1);
    w.form7 = new TForm7(state, w, w.form1);
    w.form8 = new TForm8(state, w, w.form1);
    w.form9 = new TForm9(state, w, w.form1);
    w.form10 = new TForm10(state, w, w.form1);
    w.form11 = new TForm11(state, w, w.form1);
    w.form12 = new TForm12(state, w, w.form1);
    w.form13 = new TForm13(state, w, w.form1);

    MainWindowDialogs dialogs;
    dialogs.form3 = w.form3;
    dialogs.aboutBox = w.aboutBox;
    dialogs.form5 = w.form5;
    dialogs.form6 = w.form6;
    dialogs.form8 = w.form8;
    dialogs.form10 = w.form10;
    w.form1->setDialogs(dialogs);
    w.form6->ShowReportView = [this](const QString &title) { w.form11->ShowReport(title); };
    w.form1->commands().c2111 = [this] {
        if (w.form2->exec() == QDialog::Accepted)
            w.form1->ParametersChanged();
    };
    w.form1->commands().c2231 = [this, &state] { ExportCurrentSign(state, w, w.form1, DefaultExportFileDialog()); };
    w.form1->commands().c21211 = [this] { w.form12->ShowListPrices(); };
    w.form1->commands().c21221 = [this] { w.form12->ShowPercentPrices(); };
}

WindowSet::~WindowSet()
{
    // Reverse order of creation; each dialog leaves its parent's children as it goes.
    delete w.form13;
    delete w.form12;
    delete w.form11;
    delete w.form10;
    delete w.form9;
    delete w.form8;
    delete w.form7;
    delete w.form6;
    delete w.form5;
    delete w.aboutBox;
    delete w.form3;
    delete w.form2;
    delete w.form1;
}

} // namespace tablix
