// StockDialog: the stock bar length, saw kerf and trim, by default and for the project's profiles.
#include "ui/stock_dialog.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <set>

#include "core/engine/profile_keys.h"
#include "core/params/language.h"
#include "core/params/language_entries.h"
#include "core/project/app_state.h"
#include "ui/widgets/named.h"
#include "ui/widgets/number_edit.h"
#include "ui/workshop_menu.h"

namespace tablix {

namespace {

constexpr int kDecimals = 2;

// A profile's edit: left empty it means "the default", so leaving it empty must not write 0.
class OptionalNumberEdit : public NumberEdit {
public:
    using NumberEdit::NumberEdit;

protected:
    void focusOutEvent(QFocusEvent *event) override
    {
        if (text().trimmed().isEmpty())
            QLineEdit::focusOutEvent(event);
        else
            NumberEdit::focusOutEvent(event);
    }
};

CutLength LengthOf(const NumberEdit *edit)
{
    return CutLengthFromCm(edit->value());
}

bool Empty(const NumberEdit *edit)
{
    return edit->text().trimmed().isEmpty();
}

} // namespace

StockDialog::StockDialog(AppState &state, const QStringList &keys, const QStringList &labels, QWidget *parent)
    : QDialog(parent), state(state), keys_(keys), profiles_(labels)
{
    Q_ASSERT(keys_.size() == profiles_.size());
    setObjectName(QStringLiteral("StockDialog"));
    static const char *const kDefaultNames[] = {"DefaultBarLength", "DefaultKerf", "DefaultTrim"};
    defaultsLabel_ = Named<QLabel>(this, QStringLiteral("DefaultsLabel"));
    auto *grid = new QGridLayout;
    grid->addWidget(defaultsLabel_, 0, 0, 1, 2);
    for (int f = 0; f < 3; ++f) {
        fieldLabels_[f] = Named<QLabel>(this, QStringLiteral("FieldLabel%1").arg(f + 1));
        defaults_[f] = Named<NumberEdit>(this, QLatin1String(kDefaultNames[f]), kDecimals);
        defaults_[f]->setDecimalSeparator(DecimalSeparator(state.language));
        fieldLabels_[f]->setBuddy(defaults_[f]);
        grid->addWidget(fieldLabels_[f], f + 1, 0);
        grid->addWidget(defaults_[f], f + 1, 1);
        connect(defaults_[f], &QLineEdit::textChanged, this, &StockDialog::showDefaultsAsHints);
    }
    grid->setColumnStretch(2, 1);

    profilesLabel_ = Named<QLabel>(this, QStringLiteral("ProfilesLabel"));
    profilesLabel_->setWordWrap(true);
    table_ = Named<QTableWidget>(this, QStringLiteral("ProfileTable"), int(profiles_.size()), 4);
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < profiles_.size(); ++row) {
        auto *name = new QTableWidgetItem(profiles_[row]);
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        table_->setItem(row, 0, name);
        for (int f = 0; f < 3; ++f) {
            auto *cell = new OptionalNumberEdit(kDecimals);
            cell->setDecimalSeparator(DecimalSeparator(state.language));
            cell->setObjectName(QStringLiteral("Profile%1Field%2").arg(row + 1).arg(f + 1));
            cell->setFrame(false);
            table_->setCellWidget(row, f + 1, cell);
        }
    }
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c <= 3; ++c)
        table_->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    table_->setVisible(!profiles_.isEmpty());

    useDefaultsButton_ = Named<QPushButton>(this, QStringLiteral("UseDefaultsButton"));
    useDefaultsButton_->setVisible(!profiles_.isEmpty());
    useDefaultsButton_->setAutoDefault(false);
    okButton_ = Named<QPushButton>(this, QStringLiteral("OkButton"));
    okButton_->setDefault(true);
    cancelButton_ = Named<QPushButton>(this, QStringLiteral("CancelButton"));
    cancelButton_->setAutoDefault(false);
    connect(useDefaultsButton_, &QPushButton::clicked, this, &StockDialog::useDefaults);
    connect(okButton_, &QPushButton::clicked, this, &StockDialog::okClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(useDefaultsButton_);
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto *main = new QVBoxLayout(this);
    main->addLayout(grid);
    main->addSpacing(8);
    main->addWidget(profilesLabel_);
    main->addWidget(table_, 1);
    main->addLayout(buttons);

    display(StockSettings{});
    resize(640, profiles_.isEmpty() ? 220 : 300 + 28 * std::min<int>(int(profiles_.size()), 8));
}

void StockDialog::showEvent(QShowEvent *event)
{
    setWindowTitle(state.LanguageEntry(text::kStockDialogTitle));
    defaultsLabel_->setText(QStringLiteral("<b>%1</b>").arg(state.LanguageEntry(text::kStockDefaults).toHtmlEscaped()));
    const int names[] = {text::kStockBarLength, text::kStockKerf, text::kStockTrim};
    QStringList headers{state.LanguageEntry(text::kCutListProfileHeader)};
    for (int f = 0; f < 3; ++f) {
        fieldLabels_[f]->setText(state.LanguageEntry(names[f]));
        headers << state.LanguageEntry(names[f]);
    }
    table_->setHorizontalHeaderLabels(headers);
    profilesLabel_->setText(state.LanguageEntry(profiles_.isEmpty() ? text::kStockNoProfiles : text::kStockProfilesNote));
    useDefaultsButton_->setText(state.LanguageEntry(text::kStockUseDefaults));
    okButton_->setText(state.LanguageEntry(text::kOk));
    cancelButton_->setText(state.LanguageEntry(text::kCancel));
    QDialog::showEvent(event);
}

QString StockDialog::path() const
{
    return StockFilePath(state.dataFolder);
}

NumberEdit *StockDialog::edit(int row, Field field) const
{
    if (row < 0)
        return defaults_[field];
    return static_cast<NumberEdit *>(table_->cellWidget(row, int(field) + 1));
}

int StockDialog::profileRows() const
{
    return int(profiles_.size());
}

bool StockDialog::load(QString *error)
{
    const StockLoad load = LoadStockSettingsOf(state.dataFolder);
    loaded_ = load.settings.value_or(StockSettings{});
    display(loaded_);
    if (!load.settings && error)
        *error = load.error;
    return load.settings.has_value();
}

void StockDialog::display(const StockSettings &settings)
{
    const StockProfile &d = settings.defaults;
    defaults_[BarLength]->setValue(CutLengthToCm(d.barLength));
    defaults_[Kerf]->setValue(CutLengthToCm(d.kerf));
    defaults_[Trim]->setValue(CutLengthToCm(d.trim));
    for (int row = 0; row < profiles_.size(); ++row) {
        const auto it = settings.profiles.find(keys_[row]);
        const StockOverride own = it == settings.profiles.end() ? StockOverride{} : it->second;
        const std::optional<CutLength> *values[] = {&own.barLength, &own.kerf, &own.trim};
        for (int f = 0; f < 3; ++f) {
            if (*values[f])
                edit(row, Field(f))->setValue(CutLengthToCm(**values[f]));
            else
                edit(row, Field(f))->clear();
        }
    }
    showDefaultsAsHints();
}

void StockDialog::showDefaultsAsHints()
{
    for (int row = 0; row < profiles_.size(); ++row)
        for (int f = 0; f < 3; ++f)
            edit(row, Field(f))->setPlaceholderText(defaults_[f]->text());
}

void StockDialog::useDefaults()
{
    std::set<int> rows;
    for (const QModelIndex &index : table_->selectionModel()->selectedIndexes())
        rows.insert(index.row());
    if (rows.empty() && table_->currentRow() >= 0)
        rows.insert(table_->currentRow());
    for (int row : rows)
        for (int f = 0; f < 3; ++f)
            edit(row, Field(f))->clear();
}

QString StockDialog::refusal(const QString &where, const StockProfile &stock) const
{
    if (CheckStockProfile(stock).isEmpty())
        return {};
    // Negative values cannot be typed, so a bar that is too short or too long, or eaten by the saw.
    const bool barWrong = stock.barLength <= 0 || stock.barLength > CutLength(kMaxBarLengthCm) * kCutUnitsPerCm;
    const QString reason = barWrong ? state.LanguageEntry(text::kStockBarLengthRange).arg(double(kMaxBarLengthCm))
                                    : state.LanguageEntry(text::kStockNothingLeft);
    return state.LanguageEntry(text::kStockValueRefused).arg(where, reason);
}

std::optional<StockSettings> StockDialog::edited(QString *refused) const
{
    StockSettings settings = loaded_;
    settings.defaults = {LengthOf(defaults_[BarLength]), LengthOf(defaults_[Kerf]), LengthOf(defaults_[Trim])};
    QString wrong = refusal(state.LanguageEntry(text::kStockDefaults), settings.defaults);
    for (int row = 0; wrong.isEmpty() && row < profiles_.size(); ++row) {
        settings.profiles.erase(keys_[row]);
        StockOverride own;
        std::optional<CutLength> *values[] = {&own.barLength, &own.kerf, &own.trim};
        for (int f = 0; f < 3; ++f)
            if (!Empty(edit(row, Field(f))))
                *values[f] = LengthOf(edit(row, Field(f)));
        if (own.empty())
            continue;
        wrong = refusal(profiles_[row], own.over(settings.defaults));
        settings.profiles[keys_[row]] = own;
    }
    // Profiles of other projects follow the new defaults too: they must still leave a bar.
    for (auto it = settings.profiles.begin(); wrong.isEmpty() && it != settings.profiles.end(); ++it)
        if (!keys_.contains(it->first))
            wrong = refusal(ProfileLabel(it->first, state.language), it->second.over(settings.defaults));
    if (!wrong.isEmpty()) {
        if (refused)
            *refused = wrong;
        return std::nullopt;
    }
    return settings;
}

void StockDialog::okClicked()
{
    QString refused;
    const std::optional<StockSettings> settings = edited(&refused);
    if (!settings) {
        ShowSplitMessage(this, QMessageBox::Warning, QStringLiteral("StockValueRefusedBox"), refused);
        return;
    }
    QString error;
    if (!SaveStockFile(path(), *settings, &error)) {
        ShowSplitMessage(this, QMessageBox::Critical, QStringLiteral("StockNotSavedBox"),
                         error + QLatin1Char('#') + state.LanguageEntry(text::kNothingWrittenFileKept));
        return;
    }
    loaded_ = *settings;
    accept();
}

} // namespace tablix
