// AboutBox: the program's title, version and the maker's address, with mail and web links.
#pragma once

#include <QDialog>
#include <QUrl>

class QLabel;
class QPushButton;

namespace tablix {

struct AppState;

// The maker's data, supplied with the installation.
inline constexpr const char *kMakerName = "Tablix sign systems";
inline constexpr const char *kMakerStreet = "ul. Przykładowa 12";
inline constexpr const char *kMakerCity = "00-950 Warszawa";
inline constexpr const char *kMakerMail = "biuro@tablix.example";
inline constexpr const char *kMakerWeb = "www.tablix.example";
inline constexpr const char *kMakerMailSubject = "Tablix " TABLIX_VERSION;

QUrl MakerMailUrl();
QUrl MakerWebUrl();

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(AppState &state, QWidget *parent = nullptr);

    void setCaptions();

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppState &state;
    QLabel *programIcon = nullptr;
    QLabel *commentLabel = nullptr;
    QLabel *mailLink = nullptr;
    QLabel *webLink = nullptr;
    QPushButton *okButton = nullptr;
};

} // namespace tablix
