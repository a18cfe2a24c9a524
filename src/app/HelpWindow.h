#pragma once
// The guide inside the program, which needs no browser: its contents beside the page, back and
// forward, finding words in the page, and the page in the desktop's browser for those who
// prefer it.

#include <QMainWindow>
#include <filesystem>

class QAction;
class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace celvane {

class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent);

    // Shows the window, brought to the front, on a page of the guide.
    void showPage(const std::filesystem::path& page);
    QTextBrowser* browser() const { return browser_; }
    // The page shown, by its name in the guide ("stamps").
    QString page() const;
    // Finds the next place of the words typed, from the top again after the last; false when
    // the page does not have them.
    bool findNext();

private:
    void pageChanged(const QUrl& url);
    void openInBrowser();

    QTextBrowser* browser_;
    QListWidget* contents_;
    QLineEdit* find_;
};

} // namespace celvane
