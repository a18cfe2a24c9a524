#include "app/HelpWindow.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>

#include "app/Help.h"
#include "base/Errors.h"
#include "base/Reporter.h"

namespace celvane {

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent, Qt::Window)
{
    setWindowTitle("Celvane Help");
    browser_ = new QTextBrowser;
    browser_->setAccessibleName("Help page");
    contents_ = new QListWidget;
    contents_->setAccessibleName("Contents");
    for (const Help::Topic& topic : Help::topics())
        contents_->addItem(topic.title);
    auto* split = new QSplitter;
    split->addWidget(contents_);
    split->addWidget(browser_);
    split->setStretchFactor(1, 1);
    split->setSizes({180, 520});
    setCentralWidget(split);

    QToolBar* bar = addToolBar("Help");
    bar->setMovable(false);
    bar->addAction("Contents", this, [this] { showPage(Help::guidePage()); });
    QAction* back = bar->addAction("Back", browser_, &QTextBrowser::backward);
    QAction* forward = bar->addAction("Forward", browser_, &QTextBrowser::forward);
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    bar->addSeparator();
    find_ = new QLineEdit;
    find_->setPlaceholderText("Find in this page");
    find_->setAccessibleName("Find in this page");
    find_->setClearButtonEnabled(true);
    find_->setMaximumWidth(200);
    bar->addWidget(find_);
    connect(find_, &QLineEdit::returnPressed, this, &HelpWindow::findNext);
    bar->addAction("Find", this, &HelpWindow::findNext)->setShortcut(QKeySequence::FindNext);
    QAction* focusFind = new QAction(this);
    focusFind->setShortcut(QKeySequence::Find);
    connect(focusFind, &QAction::triggered, find_, qOverload<>(&QWidget::setFocus));
    addAction(focusFind);
    bar->addSeparator();
    bar->addAction("Open in web browser", this, &HelpWindow::openInBrowser);

    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::pageChanged);
    connect(contents_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < int(Help::topics().size()) && page() != Help::topics()[row].page)
            showPage(Help::guidePage(Help::topics()[row].page));
    });
    resize(760, 560);
}

void HelpWindow::showPage(const std::filesystem::path& page)
{
    browser_->setSource(QUrl::fromLocalFile(QString::fromStdString(page.string())));
    show();
    raise();
    activateWindow();
}

QString HelpWindow::page() const { return QFileInfo(browser_->source().path()).completeBaseName(); }

bool HelpWindow::findNext()
{
    const QString words = find_->text();
    if (words.isEmpty())
        return false;
    bool found = browser_->find(words);
    if (!found) {
        browser_->moveCursor(QTextCursor::Start);
        found = browser_->find(words);
    }
    statusBar()->showMessage(found ? QString() : QString("\"%1\" is not on this page.").arg(words));
    return found;
}

void HelpWindow::pageChanged(const QUrl& url)
{
    const QString shown = QFileInfo(url.path()).completeBaseName();
    int row = -1;
    for (size_t i = 0; i < Help::topics().size(); ++i)
        if (shown == Help::topics()[i].page)
            row = int(i);
    const QSignalBlocker quiet(contents_);
    contents_->setCurrentRow(row);
    setWindowTitle(browser_->documentTitle().isEmpty() ? "Celvane Help" : browser_->documentTitle());
}

void HelpWindow::openInBrowser()
{
    const QString file = browser_->source().toLocalFile();
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file))) {
        NotSupportedError none("no browser to show " + file.toStdString());
        none.setFile(file.toStdString(), "no web browser could be started");
        Reporter::reportException(none);
    }
}

} // namespace celvane
