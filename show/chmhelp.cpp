#include "show/chmhelp.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QPointer>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#ifndef CURVANA_HELP_DATA_RELDIR
// The installed layout: the program in bin/, its help in share/curvana/.
#define CURVANA_HELP_DATA_RELDIR "../share/curvana"
#endif

namespace curvana {

namespace {

constexpr const char* HelpVirtualFolder = "doc";
constexpr const char* HelpDefaultPage = "index.htm";
constexpr const char* HelpWindowName = "CVShowHelpWindow";

// A browser that reads qthelp:// pages, pictures and style sheets from the collection and hands
// every other link to the desktop.
class THelpBrowser : public QTextBrowser {
public:
    THelpBrowser(QHelpEngineCore* engine, QWidget* parent) : QTextBrowser(parent), FEngine(engine) {
        setOpenLinks(false);
        connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
            const QUrl url = source().resolved(link);
            if (url.scheme() == QLatin1String("qthelp"))
                setSource(url);
            else
                QDesktopServices::openUrl(url);
        });
    }

    QVariant loadResource(int type, const QUrl& name) override {
        if (name.scheme() == QLatin1String("qthelp"))
            return FEngine->fileData(name);
        return QTextBrowser::loadResource(type, name);
    }

private:
    QHelpEngineCore* FEngine;
};

class THelpWindow : public QDialog {
public:
    THelpWindow(QHelpEngine* engine, QWidget* owner) : QDialog(owner, Qt::Window), FEngine(engine) {
        setObjectName(HelpWindowName);
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowTitle(QStringLiteral("Curvana Slide Show Help"));
        FEngine->setParent(this);

        auto* back = new QToolButton(this);
        back->setText(QStringLiteral("Back"));
        auto* forward = new QToolButton(this);
        forward->setText(QStringLiteral("Forward"));
        auto* home = new QToolButton(this);
        home->setText(QStringLiteral("Contents"));
        auto* bar = new QHBoxLayout;
        bar->addWidget(back);
        bar->addWidget(forward);
        bar->addWidget(home);
        bar->addStretch();

        Browser = new THelpBrowser(FEngine, this);
        Contents = FEngine->contentWidget();
        auto* splitter = new QSplitter(this);
        splitter->addWidget(Contents);
        splitter->addWidget(Browser);
        splitter->setStretchFactor(1, 1);
        splitter->setSizes({230, 670});

        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(6, 6, 6, 6);
        layout->addLayout(bar);
        layout->addWidget(splitter, 1);
        resize(900, 640);

        connect(back, &QToolButton::clicked, Browser, &QTextBrowser::backward);
        connect(forward, &QToolButton::clicked, Browser, &QTextBrowser::forward);
        connect(Browser, &QTextBrowser::backwardAvailable, back, &QToolButton::setEnabled);
        connect(Browser, &QTextBrowser::forwardAvailable, forward, &QToolButton::setEnabled);
        back->setEnabled(false);
        forward->setEnabled(false);
        connect(home, &QToolButton::clicked, this, [this] { Browser->setSource(PageUrl({})); });
        connect(Contents, &QHelpContentWidget::linkActivated, Browser,
                [this](const QUrl& url) { Browser->setSource(url); });
        // The contents are built in the background; mark the open page once they are there.
        connect(FEngine->contentModel(), &QHelpContentModel::contentsCreated, this,
                [this] { MarkCurrentPage(); });
        connect(Browser, &QTextBrowser::sourceChanged, this, [this] { MarkCurrentPage(); });
    }

    QString CollectionFile() const { return FEngine->collectionFile(); }

    // The page's address in the collection; an empty or missing topic gives the default page.
    QUrl PageUrl(const QString& topic) const {
        const QStringList namespaces = FEngine->registeredDocumentations();
        const QString base = QStringLiteral("qthelp://%1/%2/")
                                 .arg(namespaces.value(0), QLatin1String(HelpVirtualFolder));
        if (!topic.isEmpty()) {
            const QUrl url(base + topic);
            if (!FEngine->fileData(url).isEmpty())
                return url;
        }
        return QUrl(base + QLatin1String(HelpDefaultPage));
    }

    void ShowTopic(const QString& topic) { Browser->setSource(PageUrl(topic)); }

    THelpBrowser* Browser = nullptr;
    QHelpContentWidget* Contents = nullptr;

private:
    void MarkCurrentPage() {
        QUrl page = Browser->source();
        page.setFragment({});
        const QModelIndex index = Contents->indexOf(page);
        if (index.isValid())
            Contents->setCurrentIndex(index);
    }

    QHelpEngine* FEngine;
};

} // namespace

QString TCHMHelp::HelpFilePath(const QString& programDir, const QString& fileName) {
    const QString beside = QDir(programDir).filePath(fileName);
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = QDir::cleanPath(
        QDir(programDir)
            .filePath(QLatin1String(CURVANA_HELP_DATA_RELDIR) + QLatin1Char('/') + fileName));
    if (QFileInfo::exists(installed))
        return installed;
    return beside;
}

QWidget* TCHMHelp::ShowHelp(QWidget* owner, const QString& fileName, bool relativeToProgram,
                            const QString& topic) {
    const QString path = relativeToProgram
                             ? HelpFilePath(QCoreApplication::applicationDirPath(), fileName)
                             : fileName;
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return nullptr;
    const QString collection = info.absoluteFilePath();

    if (owner) {
        for (auto* child :
             owner->findChildren<QDialog*>(HelpWindowName, Qt::FindDirectChildrenOnly)) {
            auto* open = dynamic_cast<THelpWindow*>(child);
            if (open && open->CollectionFile() == collection) {
                open->ShowTopic(topic);
                open->show();
                open->raise();
                open->activateWindow();
                return open;
            }
        }
    }

    auto* engine = new QHelpEngine(collection);
    // The installed collection may lie in a folder the user cannot write; never touch it.
    engine->setReadOnly(true);
    if (!engine->setupData() || engine->registeredDocumentations().isEmpty()) {
        delete engine;
        return nullptr;
    }
    auto* window = new THelpWindow(engine, owner);
    window->ShowTopic(topic);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace curvana
