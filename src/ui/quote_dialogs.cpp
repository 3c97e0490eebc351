// The quote's dialogs: the shop's details and a quote's customer details.
#include "ui/quote_dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/params/language_entries.h"
#include "core/project/app_state.h"
#include "ui/main_window.h"
#include "ui/startup.h"

namespace tablix {

namespace {

const int kLineFields[] = {text::kShopName,      text::kShopPhone,         text::kShopEmail,
                           text::kShopWeb,       text::kShopTaxNumber,     text::kShopBankAccount,
                           text::kShopTaxRate,   text::kShopNumberPattern, text::kShopNextNumber,
                           text::kShopValidityDays};
const int kBlockFields[] = {text::kShopAddress, text::kShopTerms};

QString FieldName(int entry)
{
    return QStringLiteral("ShopField%1").arg(entry);
}

QPlainTextEdit *BlockEdit(QWidget *parent, int lines)
{
    auto *edit = new QPlainTextEdit(parent);
    edit->setTabChangesFocus(true);
    edit->setFixedHeight(edit->fontMetrics().lineSpacing() * lines + 12);
    return edit;
}

} // namespace

ShopDetailsDialog::ShopDetailsDialog(AppState &state, QWidget *parent) : QDialog(parent), state(state)
{
    setObjectName(QStringLiteral("ShopDetailsDialog"));
    auto *form = new QFormLayout;
    const auto label = [&](int entry) {
        auto *l = new QLabel(state.LanguageEntry(entry), this);
        l->setObjectName(FieldName(entry) + QStringLiteral("Label"));
        return l;
    };
    for (int entry : {text::kShopName, text::kShopAddress, text::kShopPhone, text::kShopEmail, text::kShopWeb,
                      text::kShopTaxNumber, text::kShopBankAccount}) {
        QWidget *edit = entry == text::kShopAddress ? static_cast<QWidget *>(BlockEdit(this, 4)) : new QLineEdit(this);
        edit->setObjectName(FieldName(entry));
        form->addRow(label(entry), edit);
    }
    auto *logoRow = new QHBoxLayout;
    logoName_ = new QLabel(this);
    logoName_->setObjectName(QStringLiteral("ShopLogoName"));
    chooseLogo_ = new QPushButton(this);
    chooseLogo_->setObjectName(QStringLiteral("ShopLogoChoose"));
    removeLogo_ = new QPushButton(this);
    removeLogo_->setObjectName(QStringLiteral("ShopLogoRemove"));
    logoRow->addWidget(logoName_, 1);
    logoRow->addWidget(chooseLogo_);
    logoRow->addWidget(removeLogo_);
    form->addRow(label(text::kShopLogo), logoRow);
    for (int entry : {text::kShopTaxRate}) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(FieldName(entry));
        form->addRow(label(entry), edit);
    }
    pricesGross_ = new QCheckBox(this);
    pricesGross_->setObjectName(QStringLiteral("ShopPricesGross"));
    form->addRow(QString(), pricesGross_);
    for (int entry : {text::kShopNumberPattern, text::kShopNextNumber, text::kShopValidityDays}) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(FieldName(entry));
        form->addRow(label(entry), edit);
    }
    field(text::kShopNumberPattern)->setPlaceholderText(QStringLiteral("Q-{year}-{n:4}"));
    auto *terms = BlockEdit(this, 4);
    terms->setObjectName(FieldName(text::kShopTerms));
    form->addRow(label(text::kShopTerms), terms);

    auto *buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QDialogButtonBox::Ok);
    ok_->setObjectName(QStringLiteral("OkButton"));
    cancel_ = buttons->addButton(QDialogButtonBox::Cancel);
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(ok_, &QPushButton::clicked, this, &ShopDetailsDialog::okClicked);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(chooseLogo_, &QPushButton::clicked, this, [this] {
        const QString source = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                            QtFileFilter(this->state.LanguageEntry(text::kShopLogoFileFilter)));
        QString error;
        if (!source.isEmpty() && !useLogo(source, &error))
            ShowIoError(this, error);
    });
    connect(removeLogo_, &QPushButton::clicked, this, [this] {
        logo_.clear();
        logoName_->clear();
    });
    captions();
}

void ShopDetailsDialog::captions()
{
    setWindowTitle(state.LanguageEntry(text::kShopDetailsTitle));
    pricesGross_->setText(state.LanguageEntry(text::kShopPricesGross));
    chooseLogo_->setText(state.LanguageEntry(text::kShopLogoChoose));
    removeLogo_->setText(state.LanguageEntry(text::kShopLogoRemove));
    ok_->setText(state.LanguageEntry(text::kOk));
    cancel_->setText(state.LanguageEntry(text::kCancel));
}

QLineEdit *ShopDetailsDialog::field(int entry) const
{
    return findChild<QLineEdit *>(FieldName(entry));
}

QPlainTextEdit *ShopDetailsDialog::block(int entry) const
{
    return findChild<QPlainTextEdit *>(FieldName(entry));
}

bool ShopDetailsDialog::load(QString *error)
{
    QString readError;
    loaded_ = ReadShopDetails(state.dataFolder, &readError);
    const ShopDetailsTexts t = TextsOfShopDetails(loaded_, DecimalSeparator(state.language));
    const std::pair<int, const QString *> lines[] = {
        {text::kShopName, &t.name},           {text::kShopPhone, &t.phone},         {text::kShopEmail, &t.email},
        {text::kShopWeb, &t.web},             {text::kShopTaxNumber, &t.taxNumber}, {text::kShopBankAccount, &t.bankAccount},
        {text::kShopTaxRate, &t.taxRate},     {text::kShopNumberPattern, &t.numberPattern},
        {text::kShopNextNumber, &t.nextNumber}, {text::kShopValidityDays, &t.validityDays}};
    for (const auto &[entry, value] : lines)
        field(entry)->setText(*value);
    block(text::kShopAddress)->setPlainText(t.address);
    block(text::kShopTerms)->setPlainText(t.terms);
    pricesGross_->setChecked(t.pricesGross);
    logo_ = t.logo;
    logoName_->setText(logo_);
    if (error)
        *error = readError;
    return readError.isEmpty();
}

std::optional<ShopDetails> ShopDetailsDialog::edited(QString *refusal) const
{
    ShopDetailsTexts t;
    t.name = field(text::kShopName)->text();
    t.address = block(text::kShopAddress)->toPlainText();
    t.phone = field(text::kShopPhone)->text();
    t.email = field(text::kShopEmail)->text();
    t.web = field(text::kShopWeb)->text();
    t.taxNumber = field(text::kShopTaxNumber)->text();
    t.bankAccount = field(text::kShopBankAccount)->text();
    t.logo = logo_;
    t.taxRate = field(text::kShopTaxRate)->text();
    t.pricesGross = pricesGross_->isChecked();
    t.numberPattern = field(text::kShopNumberPattern)->text();
    t.nextNumber = field(text::kShopNextNumber)->text();
    t.validityDays = field(text::kShopValidityDays)->text();
    t.terms = block(text::kShopTerms)->toPlainText();
    int refused = 0;
    std::optional<ShopDetails> shop = ShopDetailsFromTexts(t, state.language, refusal, &refused);
    if (!shop && refused) {
        if (QLineEdit *edit = field(refused))
            edit->setFocus();
        else if (QPlainTextEdit *edit = block(refused))
            edit->setFocus();
    }
    return shop;
}

bool ShopDetailsDialog::useLogo(const QString &source, QString *error)
{
    QString stored;
    if (!CopyShopLogo(state.dataFolder, source, &stored, error))
        return false;
    logo_ = stored;
    logoName_->setText(stored);
    return true;
}

void ShopDetailsDialog::okClicked()
{
    QString refusal;
    const std::optional<ShopDetails> shop = edited(&refusal);
    if (!shop) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Tablix"), refusal, QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("RefusedValueBox"));
        box.exec();
        return;
    }
    QString error;
    if (!WriteShopDetails(state.dataFolder, *shop, &error)) {
        ShowIoError(this, error + QStringLiteral("\n\n") + state.LanguageEntry(text::kNothingWrittenNote));
        return;
    }
    accept();
}

ShopDetailsCommand::ShopDetailsCommand(AppState &state, QWidget *window, QMenu *menu)
    : QObject(window), state(state), window(window), action(new QAction(window))
{
    setObjectName(QStringLiteral("ShopDetailsCommand"));
    action->setObjectName(QStringLiteral("shopDetails1"));
    menu->addAction(action);
    const auto caption = [this] { action->setText(this->state.LanguageEntry(text::kMenuShopDetails)); };
    connect(menu, &QMenu::aboutToShow, this, caption);
    caption();
    connect(action, &QAction::triggered, this, [this] {
        ShopDetailsDialog dialog(this->state, this->window);
        QString error;
        if (!dialog.load(&error))
            ShowIoError(this->window, error);
        dialog.exec();
    });
}

QuoteDetailsDialog::QuoteDetailsDialog(AppState &state, const QuoteDetails &proposed, const ShopDetails &shop,
                                       QWidget *parent)
    : QDialog(parent), state(state)
{
    setObjectName(QStringLiteral("QuoteDetailsDialog"));
    setWindowTitle(state.LanguageEntry(text::kQuoteDetailsTitle));
    auto *form = new QFormLayout;
    const auto line = [&](const char *name, int entry, const QString &value) {
        auto *edit = new QLineEdit(value, this);
        edit->setObjectName(QLatin1String(name));
        form->addRow(state.LanguageEntry(entry), edit);
        return edit;
    };
    const auto lines = [&](const char *name, int entry, const QString &value) {
        auto *edit = BlockEdit(this, 4);
        edit->setObjectName(QLatin1String(name));
        edit->setPlainText(value);
        form->addRow(state.LanguageEntry(entry), edit);
        return edit;
    };
    const QString dateFormat = state.LanguageEntry(text::kPrintFooterDateFormat);
    const auto date = [&](const char *name, QDate value) {
        auto *edit = new QDateEdit(value.isValid() ? value : QDate::currentDate(), this);
        edit->setObjectName(QLatin1String(name));
        edit->setCalendarPopup(true);
        if (!dateFormat.isEmpty())
            edit->setDisplayFormat(dateFormat);
        return edit;
    };
    customer_ = line("QuoteCustomerName", text::kQuoteCustomerName, proposed.customerName);
    address_ = lines("QuoteCustomerAddress", text::kQuoteCustomerAddress, proposed.customerAddress);
    number_ = line("QuoteNumber", text::kQuoteNumber, proposed.number);
    date_ = date("QuoteDate", proposed.date);
    form->addRow(state.LanguageEntry(text::kQuoteDate), date_);
    validUntil_ = date("QuoteValidUntil", proposed.validUntil.isValid() ? proposed.validUntil : proposed.date);
    hasValidity_ = new QCheckBox(this);
    hasValidity_->setObjectName(QStringLiteral("QuoteHasValidity"));
    hasValidity_->setChecked(proposed.validUntil.isValid());
    validUntil_->setEnabled(proposed.validUntil.isValid());
    connect(hasValidity_, &QCheckBox::toggled, validUntil_, &QWidget::setEnabled);
    auto *validity = new QHBoxLayout;
    validity->addWidget(hasValidity_);
    validity->addWidget(validUntil_, 1);
    form->addRow(state.LanguageEntry(text::kQuoteValidUntil), validity);
    reference_ = line("QuoteReference", text::kQuoteReference, proposed.reference);
    notes_ = lines("QuoteNotes", text::kQuoteNotes, proposed.notes);

    auto *layout = new QVBoxLayout(this);
    // Where the letterhead comes from, for a shop that has not filled it in yet.
    if (shop.identityEmpty()) {
        auto *hint = new QLabel(state.LanguageEntry(text::kQuoteNoShopHint), this);
        hint->setObjectName(QStringLiteral("QuoteNoShopHint"));
        hint->setWordWrap(true);
        layout->addWidget(hint);
    }
    layout->addLayout(form);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setText(state.LanguageEntry(text::kOk));
    QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    cancel->setText(state.LanguageEntry(text::kCancel));
    layout->addWidget(buttons);
    connect(ok, &QPushButton::clicked, this, [this] {
        int reason = 0;
        if (const int field = QuoteDetailsRefusedField(details(), &reason)) {
            const QString problem = this->state.LanguageEntry(text::kRefusedValue) + u' ' + this->state.LanguageEntry(field) + u' ' +
                                    this->state.LanguageEntry(reason);
            QMessageBox box(QMessageBox::Warning, QStringLiteral("Tablix"), problem, QMessageBox::Ok, this);
            box.setObjectName(QStringLiteral("RefusedValueBox"));
            box.exec();
            return;
        }
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QuoteDetails QuoteDetailsDialog::details() const
{
    QuoteDetails d;
    d.customerName = customer_->text().trimmed();
    d.customerAddress = address_->toPlainText().trimmed();
    d.number = number_->text().trimmed();
    d.date = date_->date();
    if (hasValidity_->isChecked())
        d.validUntil = validUntil_->date();
    d.reference = reference_->text().trimmed();
    d.notes = notes_->toPlainText().trimmed();
    return d;
}

} // namespace tablix
