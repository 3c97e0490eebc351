// AssumptionsDialog: the basic data of a sign: layout, sign type, width, quantity, price percentage, posts.
#include "ui/assumptions_dialog.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "ui/widgets/layout_pictures.h"
#include "ui/widgets/named.h"
#include "ui/widgets/number_edit.h"
#include "core/number/number_format.h"
#include "core/project/app_state.h"
#include "core/document/project_document.h"
#include "core/project/sign_rules.h"
#include "core/project/project_check.h"
#include "core/project/row_rules.h"
#include "ui/window_set.h"
#include "ui/startup.h"
#include "core/params/language_entries.h"

namespace tablix {

namespace {

constexpr std::array<int, 6> kTypeEntries = {
    text::kSignType1, text::kSignType2, text::kClosingProfile, text::kSignType4, text::kSignType5, text::kSignType6,
};

QFrame *panel(QWidget *parent)
{
    auto *f = new QFrame(parent);
    f->setFrameShape(QFrame::StyledPanel);
    return f;
}

} // namespace

AssumptionsDialog::AssumptionsDialog(AppState &state, Windows &windows, QWidget *parent)
    : QDialog(parent), state(state), windows(windows)
{
    setObjectName(QStringLiteral("Form5"));
    // The form numbers its layout buttons backwards (layout 1 is number 4), then the sign types.
    for (int n = 1; n <= 10; ++n) {
        auto *b = Named<QRadioButton>(this, QStringLiteral("RadioButton%1").arg(n));
        if (n <= 4)
            layoutButtons[size_t(5 - n)] = b;
        else
            typeButtons[size_t(n - 4)] = b;
    }
    widthLabel = Named<QLabel>(this, "Label1");
    quantityLabel = Named<QLabel>(this, "Label2");
    percentLabel = Named<QLabel>(this, "Label3");
    auxLabel = Named<QLabel>(this, "Label4");
    widthUnit = Named<QLabel>(this, "Label5");
    quantityUnit = Named<QLabel>(this, "Label6");
    percentUnit = Named<QLabel>(this, "Label7");
    auxUnit = Named<QLabel>(this, "Label8");
    widthEdit = Named<NumberEdit>(this, "pvlCalcEdit1", 2);
    quantityEdit = Named<NumberEdit>(this, "pvlCalcEdit2", 0);
    percentEdit = Named<NumberEdit>(this, "pvlCalcEdit3", 2);
    auxEdit = Named<NumberEdit>(this, "pvlCalcEdit4", 0);
    refusalLabel = Named<QLabel>(this, "RefusalLabel");
    refusalLabel->setWordWrap(true);
    QPalette warning = refusalLabel->palette();
    warning.setColor(QPalette::WindowText, Qt::red);
    refusalLabel->setPalette(warning);
    refusalLabel->hide();
    okButton = Named<QPushButton>(this, "BitBtn1");
    okButton->setDefault(true);
    cancelButton = Named<QPushButton>(this, "BitBtn2");
    connect(okButton, &QPushButton::clicked, this, &AssumptionsDialog::okClicked);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    // Layouts: family A on the left, family B on the right; closed frame above, side posts below.
    auto *layouts = panel(this);
    auto *layoutGroup = new QButtonGroup(this);
    auto *layoutGrid = new QGridLayout(layouts);
    layoutGrid->setHorizontalSpacing(12);
    for (int layout = 1; layout <= 4; ++layout) {
        QRadioButton *b = layoutButtons[size_t(layout)];
        layoutGroup->addButton(b);
        auto *picture = Named<QLabel>(layouts, QStringLiteral("LayoutPicture%1").arg(layout));
        picture->setPixmap(LayoutPicture(layout, kLayoutPictureSize, devicePixelRatioF()));
        picture->setFixedSize(kLayoutPictureSize);
        // The place of a hidden picture stays, so the other buttons do not move.
        QSizePolicy keep = picture->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        picture->setSizePolicy(keep);
        picture->installEventFilter(this);
        pictures[size_t(layout)] = picture;
        b->setParent(layouts);
        const int row = (layout == 1 || layout == 3) ? 0 : 1;
        const int column = layout <= 2 ? 0 : 2;
        layoutGrid->addWidget(b, row, column);
        layoutGrid->addWidget(picture, row, column + 1);
    }

    auto *types = panel(this);
    auto *typeGroup = new QButtonGroup(this);
    auto *typeBox = new QVBoxLayout(types);
    for (int type = 1; type <= 6; ++type) {
        QRadioButton *b = typeButtons[size_t(type)];
        b->setParent(types);
        typeGroup->addButton(b);
        typeBox->addWidget(b);
        connect(b, &QRadioButton::clicked, this, [this, type] { signTypeChosen(SignType(type)); });
    }
    typeBox->addStretch();

    auto *values = new QGridLayout;
    const std::array<NumberEdit *, 4> edits = {widthEdit, quantityEdit, percentEdit, auxEdit};
    const std::array<QLabel *, 4> labels = {widthLabel, quantityLabel, percentLabel, auxLabel};
    const std::array<QLabel *, 4> units = {widthUnit, quantityUnit, percentUnit, auxUnit};
    for (size_t i = 0; i < 4; ++i) {
        values->addWidget(labels[i], int(i), 0);
        values->addWidget(edits[i], int(i), 1);
        values->addWidget(units[i], int(i), 2);
        labels[i]->setBuddy(edits[i]);
    }
    values->setColumnStretch(3, 1);

    auto *top = new QHBoxLayout;
    top->addWidget(layouts);
    top->addWidget(types);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addSpacing(6);
    main->addLayout(values);
    main->addWidget(refusalLabel);
    main->addSpacing(6);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(widthEdit, quantityEdit);
    setTabOrder(quantityEdit, percentEdit);
    setTabOrder(percentEdit, auxEdit);
    setTabOrder(auxEdit, okButton);
    setTabOrder(okButton, cancelButton);
}

void AssumptionsDialog::showEvent(QShowEvent *event)
{
    const SignRecord &sign = state.currentSignRecord;
    const bool fixedPercent = state.derived.HasFixedPricePercent;
    for (QWidget *w : {static_cast<QWidget *>(percentEdit), static_cast<QWidget *>(percentLabel),
                       static_cast<QWidget *>(percentUnit)})
        w->setVisible(!fixedPercent);

    setWindowTitle(state.LanguageEntry(text::kAssumptionsTitle));
    for (int type = 1; type <= 6; ++type)
        typeButtons[size_t(type)]->setText(state.LanguageEntry(kTypeEntries[size_t(type - 1)]));
    widthLabel->setText(state.LanguageEntry(text::kWidthLabel));
    widthUnit->setText(state.LanguageEntry(text::kLengthUnit));
    quantityLabel->setText(state.LanguageEntry(text::kQuantityLabel));
    quantityUnit->setText(state.LanguageEntry(text::kCountUnit));
    percentLabel->setText(state.LanguageEntry(text::kPricePercentLabel));
    percentUnit->setText(state.LanguageEntry(text::kPercentUnit));
    auxLabel->setText(state.LanguageEntry(text::kPostCountLabelType1));
    auxUnit->setText(state.LanguageEntry(text::kCountUnit));
    okButton->setText(state.LanguageEntry(text::kOk));
    cancelButton->setText(state.LanguageEntry(text::kCancel));

    for (int layout = 1; layout <= 4; ++layout) {
        const QString tip = LayoutToolTip(state.language, Layout(layout));
        pictures[size_t(layout)]->setToolTip(tip);
        layoutButtons[size_t(layout)]->setToolTip(tip);
    }
    refusalLabel->clear();
    refusalLabel->hide();

    // A sign starts at one piece and at 100 percent, or at the percentage the parameters fix.
    widthEdit->setValue(sign.width.get());
    if (fixedPercent)
        percentEdit->setValue(state.parameters.priceListPercent.get());
    else
        percentEdit->setValue(state.derived.FixedPricePercent.get() > 0 ? state.derived.FixedPricePercent.get() : 100);
    auxEdit->setValue(sign.auxDimension.get());
    quantityEdit->setValue(sign.quantity.get() >= 1 ? sign.quantity.get() : 1);

    if (IsKnown(sign.layout))
        layoutButtons[size_t(Number(sign.layout))]->setChecked(true);
    if (IsKnown(sign.signType)) {
        typeButtons[size_t(Number(sign.signType))]->setChecked(true);
        signTypeChosen(sign.signType);
    }
    widthEdit->setFocus();
    widthEdit->selectAll();
    QDialog::showEvent(event);
}

void AssumptionsDialog::signTypeChosen(SignType signType)
{
    const bool posts = signType == SignType::NarrowFrame || signType == SignType::WideFrame;
    if (posts)
        auxLabel->setText(state.LanguageEntry(signType == SignType::NarrowFrame ? text::kPostCountLabelType1
                                                                                : text::kPostCountLabelType2));
    for (QWidget *w : {static_cast<QWidget *>(auxLabel), static_cast<QWidget *>(auxUnit),
                       static_cast<QWidget *>(auxEdit), static_cast<QWidget *>(layoutButtons[3]),
                       static_cast<QWidget *>(layoutButtons[1])})
        w->setEnabled(posts);
    if (!posts) {
        if (layoutButtons[3]->isChecked())
            layoutButtons[4]->setChecked(true);
        if (layoutButtons[1]->isChecked())
            layoutButtons[2]->setChecked(true);
    }
    pictures[3]->setVisible(posts);
    pictures[1]->setVisible(posts);
}

void AssumptionsDialog::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter) {
        QDialog::keyPressEvent(event);
        return;
    }
    // A focused button takes Enter itself; elsewhere Shift or Ctrl with Enter means OK.
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) {
        okButton->click();
        return;
    }
    // Enter leaves a field only with a value OK would take; otherwise it says why.
    const std::array<std::pair<NumberEdit *, QLabel *>, 4> fields{
        {{widthEdit, widthLabel}, {quantityEdit, quantityLabel}, {percentEdit, percentLabel}, {auxEdit, auxLabel}}};
    for (const auto &[edit, label] : fields) {
        if (edit->hasFocus() && refusalOf(edit) != 0)
            return refuse(edit, label, refusalOf(edit));
    }
    focusNextChild();
}

bool AssumptionsDialog::eventFilter(QObject *watched, QEvent *event)
{
    // A click on a picture chooses its layout.
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int layout = 1; layout <= 4; ++layout) {
            if (watched == pictures[size_t(layout)] && layoutButtons[size_t(layout)]->isEnabled())
                layoutButtons[size_t(layout)]->click();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AssumptionsDialog::refuse(NumberEdit *edit, QLabel *label, int reasonEntry, const QString &limit)
{
    // The field's own label names it, without the colon some languages end it with.
    QString field = label->text().trimmed();
    if (field.endsWith(QLatin1Char(':')))
        field.chop(1);
    const QString reason = state.LanguageEntry(reasonEntry);
    QString largest = limit;
    if (largest.isEmpty() && reasonEntry == text::kRefusedAboveLimit)
        largest = FormatFixed(edit == widthEdit ? kMaxWidthCm : kMaxQuantity, 0, 0);
    refusalLabel->setText(field.trimmed() + QStringLiteral(": ") + (largest.isEmpty() ? reason : reason.arg(largest)));
    refusalLabel->show();
    edit->setFocus();
    edit->selectAll();
}

int AssumptionsDialog::refusalOf(const NumberEdit *edit) const
{
    if (edit == widthEdit && widthEdit->value() <= 0)
        return text::kRefusedNotAboveZero;
    // Whole pieces: a sign made 0 times would be priced at nothing.
    if (edit == quantityEdit && quantityEdit->value() < 1)
        return text::kRefusedNotAboveZero;
    // What a project file may hold; a larger value would make the saved project unreadable.
    if ((edit == widthEdit && widthEdit->value() > kMaxWidthCm) || (edit == quantityEdit && quantityEdit->value() > kMaxQuantity))
        return text::kRefusedAboveLimit;
    if (edit == percentEdit && !state.derived.HasFixedPricePercent && percentEdit->value() <= 0)
        return text::kRefusedNotAboveZero;
    if (edit == auxEdit && auxEdit->value() < 0)
        return text::kRefusedNegative;
    return 0;
}

void AssumptionsDialog::okClicked()
{
    for (auto [edit, label] : {std::pair{widthEdit, widthLabel}, {quantityEdit, quantityLabel},
                               {percentEdit, percentLabel}, {auxEdit, auxLabel}}) {
        if (const int reason = refusalOf(edit))
            return refuse(edit, label, reason);
    }

    BasicData data;
    data.width = widthEdit->value();
    data.quantity = quantityEdit->value();
    data.percent = percentEdit->value();
    data.auxDimension = auxEdit->value();
    for (int layout = 1; layout <= 4; ++layout) {
        if (layoutButtons[size_t(layout)]->isChecked())
            data.layout = Layout(layout);
    }
    for (int type = 1; type <= 6; ++type) {
        if (typeButtons[size_t(type)]->isChecked())
            data.signType = SignType(type);
    }
    ProjectDocument &document = windows.document();
    BasicDataResult result;
    try {
        // A value too large leaves the sign as it was.
        result = ApplyBasicData(document.CurrentDraft(), data, state.derived, state.language);
    } catch (const FloatingPointOverflow &) {
        ShowFloatingPointOverflow(this);
        return;
    }
    state.workingRows = result.draft.rows;
    state.undoRows = result.draft.undoRows;
    document.ChangeSign(result.draft.sign, text::kStepBasicData, result.pricePercent);
    accept();
}

} // namespace tablix
