// What a quote says about its customer, its number and its dates, kept beside the project in
// NAME.quote.json so that the project file stays as it is.
#pragma once

#include <QDate>
#include <QString>
#include <optional>

#include "core/params/shop_details.h"

namespace tablix {

struct QuoteDetails {
    QString customerName;
    QString customerAddress; // several lines
    QString number;          // empty: the shop's next number, taken when the quote is written
    QDate date;              // null: the day it is written
    QDate validUntil;        // null: the date and the shop's validity
    QString reference;
    QString notes;           // several lines
    bool operator==(const QuoteDetails &) const = default;
};

// The fields of the JSON file, one a line, for the tool's help.
QString QuoteDetailsFieldsHelp();

// "shop-front.tab" → "shop-front.quote.json" in the same folder; empty for an untitled project.
QString QuoteDetailsPath(const QString &projectFilePath);

struct QuoteDetailsLoad {
    std::optional<QuoteDetails> details; // empty details when the file does not exist
    QString error;                       // the reason alone, when the file is there but unusable
};
QuoteDetailsLoad ReadQuoteDetails(const QString &path);
QByteArray QuoteDetailsJson(const QuoteDetails &details);
bool WriteQuoteDetails(const QString &path, const QuoteDetails &details, QString *error);

// The reason, naming the field, when a value could not be printed on the quote.
QString QuoteDetailsProblem(const QuoteDetails &details);
// The same for a dialog: the label entry of the field refused (0 when none) and the reason's entry.
int QuoteDetailsRefusedField(const QuoteDetails &details, int *reasonEntry);

// The details as the quote prints them: today's date, the validity from the shop's days and the
// shop's next number filled in where they are empty; `numberTaken` tells that the shop's next
// number is used and must advance once the quote is written.
QuoteDetails CompletedQuoteDetails(const QuoteDetails &details, const ShopDetails &shop, QDate today, bool *numberTaken);

} // namespace tablix
