#include "platform/qt/QtDialogs.h"
#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QRegularExpression>
#include "platform/qt/QtColor.h"
#include "platform/qt/QtFileNames.h"

namespace {

QString Q(const UnicodeString& s) { return QString::fromStdU16String(s); }

QMessageBox::Icon IconOf(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning: return QMessageBox::Warning;
    case TMsgDlgType::mtError: return QMessageBox::Critical;
    case TMsgDlgType::mtInformation: return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation: return QMessageBox::Question;
    case TMsgDlgType::mtCustom: return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(TMsgButtons buttons)
{
    switch (buttons) {
    case TMsgButtons::OK: return QMessageBox::Ok;
    case TMsgButtons::OKCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case TMsgButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case TMsgButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case TMsgButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    case TMsgButtons::AbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

TModalResult ResultOf(int button)
{
    switch (button) {
    case QMessageBox::Ok: return TModalResult::mrOk;
    case QMessageBox::Cancel: return TModalResult::mrCancel;
    case QMessageBox::Yes: return TModalResult::mrYes;
    case QMessageBox::No: return TModalResult::mrNo;
    case QMessageBox::Retry: return TModalResult::mrRetry;
    case QMessageBox::Abort: return TModalResult::mrAbort;
    case QMessageBox::Ignore: return TModalResult::mrIgnore;
    default: return TModalResult::mrCancel;
    }
}

void Prepare(QFileDialog& dialog, const TFileDialogRequest& request)
{
    dialog.setWindowTitle(Q(request.Title));
    dialog.setNameFilter(ToQtFileFilter(request.Filter));
    UnicodeString ext = request.DefaultExt;
    if (!ext.empty() && ext.front() == u'.') ext.erase(0, 1);
    dialog.setDefaultSuffix(Q(ext));
    // Without a folder the chooser starts in the working folder, not where an earlier run of the
    // program left Qt's own memory of one.
    dialog.setDirectory(request.InitialDir.empty() ? QDir::currentPath() : Q(request.InitialDir));
    if (!request.FileName.empty()) dialog.selectFile(Q(request.FileName));
}

UnicodeString Run(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    UnicodeString refusal;
    const UnicodeString name = FileNameOfQtPath(dialog.selectedFiles().front(), refusal);
    // Never another file than the one chosen: a name that cannot be told apart is not used at all.
    if (!refusal.empty())
        QMessageBox(QMessageBox::Critical, QStringLiteral("Error"), Q(refusal), QMessageBox::Ok, dialog.parentWidget())
            .exec();
    return name;
}

}  // namespace

QString ToQtFileFilter(const UnicodeString& filter)
{
    QStringList parts = Q(filter).split(u'|');
    QStringList filters;
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        name.remove(trailingPatterns);
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        // "*.*" means every file, with or without an extension.
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        filters << name + QStringLiteral(" (") + patterns + u')';
    }
    return filters.join(QStringLiteral(";;"));
}

QWidget* QtDialogs::Opener()
{
    QWidget* window = QApplication::activeModalWidget();
    if (!window) window = QApplication::activeWindow();
    if (!window) window = fLastOpener;
    // Nothing of ours is active (another application has the keys): the program's main window.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!window && w->isVisible() && qobject_cast<QMainWindow*>(w)) window = w;
    fLastOpener = window;
    return window;
}

TModalResult QtDialogs::MessageBox(const UnicodeString& caption, const UnicodeString& text, TMsgDlgType type,
                                   TMsgButtons buttons)
{
    QString title = caption.empty() ? QApplication::applicationName() : Q(caption);
    QMessageBox box(IconOf(type), title, Q(text), ButtonsOf(buttons), Opener());
    return ResultOf(box.exec());
}

UnicodeString QtDialogs::ShowOpenFile(const TFileDialogRequest& request)
{
    QFileDialog dialog(Opener());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    Prepare(dialog, request);
    return Run(dialog);
}

UnicodeString QtDialogs::ShowSaveFile(const TFileDialogRequest& request)
{
    QFileDialog dialog(Opener());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    Prepare(dialog, request);
    return Run(dialog);
}

bool QtDialogs::ChooseFont(TFont& font, bool fixedPitchOnly)
{
    bool ok = false;
    const QFontDialog::FontDialogOptions options =
        fixedPitchOnly ? QFontDialog::MonospacedFonts : QFontDialog::FontDialogOptions();
    QFont chosen = QFontDialog::getFont(&ok, ToQFont(font), Opener(), QString(), options);
    if (ok) font = FromQFont(chosen, font.Color);
    return ok;
}

bool QtDialogs::ChooseColor(TColor& color)
{
    QColor chosen = QColorDialog::getColor(ToQColor(color), Opener());
    if (!chosen.isValid()) return false;
    color = FromQColor(chosen);
    return true;
}
