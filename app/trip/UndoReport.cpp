#include "app/trip/UndoReport.h"

#include "app/trip/PicturesWindow.h"
#include "base/AppState.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QVBoxLayout>

namespace {
QPointer<QDialog> s_report;
} // namespace

void ShowUndoReport(const QString& text) {
    PicturesWindow* trip = ExistingPicturesWindow();
    QWidget* owner = trip != nullptr && trip->isVisible() ? trip : g_app.wndMain;
    if (s_report && s_report->parentWidget() != owner)
        delete s_report;
    if (!s_report) {
        s_report = new QDialog(owner);
        s_report->setObjectName(QStringLiteral("undoReport"));
        s_report->setWindowTitle(QObject::tr("Undo Last Write"));
        auto* view = new QPlainTextEdit(s_report);
        view->setObjectName(QStringLiteral("undoReportText"));
        view->setAccessibleName(QObject::tr("What the undo did"));
        view->setReadOnly(true);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, s_report);
        QObject::connect(buttons, &QDialogButtonBox::rejected, s_report.data(), &QDialog::close);
        auto* layout = new QVBoxLayout(s_report);
        layout->addWidget(view);
        layout->addWidget(buttons);
        s_report->resize(560, 320);
    }
    s_report->findChild<QPlainTextEdit*>()->setPlainText(text);
    s_report->show();
    s_report->raise();
    s_report->activateWindow();
}
