// The quote's dialogs: the shop's details (once per installation) and a quote's customer details.
#pragma once

#include <QDialog>
#include <QObject>
#include <optional>

#include "core/params/shop_details.h"
#include "core/render/quote_details.h"

class QAction;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace tablix {

struct AppState;

// The shop's details of the data folder; OK checks every field and writes the settings file.
class ShopDetailsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ShopDetailsDialog(AppState &state, QWidget *parent = nullptr);

    // Shows the folder's details; false with `error` when its settings file cannot be read.
    bool load(QString *error);
    // The details the fields hold; nothing, `refusal` naming the field, when one cannot be used.
    std::optional<ShopDetails> edited(QString *refusal) const;
    void okClicked();
    // Copies the image into the data folder as the logo (the dialog's Choose... does this after asking).
    bool useLogo(const QString &source, QString *error);

    QLineEdit *field(int labelEntry) const;
    QPlainTextEdit *block(int labelEntry) const;
    QCheckBox *pricesGross() const { return pricesGross_; }

private:
    void captions();

    AppState &state;
    ShopDetails loaded_;
    QString logo_;
    QLabel *logoName_ = nullptr;
    QCheckBox *pricesGross_ = nullptr;
    QPushButton *chooseLogo_ = nullptr, *removeLogo_ = nullptr, *ok_ = nullptr, *cancel_ = nullptr;
};

// The command in the settings' parameters menu that opens the shop's details.
class ShopDetailsCommand : public QObject {
    Q_OBJECT
public:
    ShopDetailsCommand(AppState &state, QWidget *window, QMenu *menu);

private:
    AppState &state;
    QWidget *window;
    QAction *action;
};

// The customer, number, dates, reference and notes of the quote about to be written.
class QuoteDetailsDialog : public QDialog {
    Q_OBJECT
public:
    QuoteDetailsDialog(AppState &state, const QuoteDetails &proposed, const ShopDetails &shop, QWidget *parent = nullptr);
    QuoteDetails details() const;

private:
    AppState &state;
    QLineEdit *customer_, *number_, *reference_;
    QPlainTextEdit *address_, *notes_;
    QDateEdit *date_, *validUntil_;
    QCheckBox *hasValidity_;
};

} // namespace tablix
