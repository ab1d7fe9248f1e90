// TApplication and TScreen: the message loop, the default error report and the screen.
#include "platform/ui/Forms.h"

#include "platform/ui/Dialogs.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/WindowHost.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication()
{
    if (FToolkitTranslator)
        QCoreApplication::removeTranslator(FToolkitTranslator.get());
    if (Application == this)
        Application = nullptr;
}

void TApplication::Initialize()
{
    // What the platform draws without a TFont of its own (menus, message boxes, dialogs) takes the
    // default font as well.
    QApplication::setFont(TFont().Handle());
    // The program speaks Chinese (PRC) whatever the desktop's language, as its own texts and
    // formats do, so what the toolkit draws does too: the buttons and labels of boxes and
    // dialogs, and the month and day names of calendars.
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    LoadToolkitTranslations(chinese);
}

bool TApplication::LoadToolkitTranslations(const QLocale& Locale)
{
    if (FToolkitTranslator) {
        QCoreApplication::removeTranslator(FToolkitTranslator.get());
        FToolkitTranslator.reset();
    }
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(Locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    FToolkitTranslator = std::move(translator);
    return true;
}

void TApplication::Run()
{
    if (FMainForm != nullptr)
        FMainForm->Show();
    while (!FTerminated)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void TApplication::ProcessMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::Terminate()
{
    FTerminated = true;
    QCoreApplication::postEvent(qApp, new QEvent(QEvent::User));
}

bool TApplication::HookMessage(TMsg& Msg)
{
    bool handled = false;
    if (OnMessage)
        OnMessage(Msg, handled);
    return handled;
}

void TApplication::HandleException(TObject* Sender)
{
    if (!std::current_exception())
        return;
    try {
        throw;
    } catch (const EAbort&) {
        // The platform's silent exception: nothing to report.
    } catch (const std::exception& e) {
        if (OnException)
            OnException(Sender, e);
        else
            ShowException(e);
    } catch (...) {
        ShowException(Exception(QStringLiteral("未知异常")));
    }
}

namespace {

// The platform ends an error report with a period unless the text ends in punctuation below '.';
// a Chinese text takes the Chinese full stop, and one ending in a quote or Chinese punctuation
// stands as it is.
String ReportEnding(QChar Last)
{
    if (Last <= QChar(u'.') || (Last.unicode() >= 0x2000 && Last.isPunct()))
        return {};
    return Last.unicode() >= 0x2E80 ? QStringLiteral("。") : QStringLiteral(".");
}

}  // namespace

void TApplication::ShowException(const std::exception& E)
{
    const auto* platformError = dynamic_cast<const Exception*>(&E);
    String text = platformError != nullptr ? platformError->Message() : String::fromUtf8(E.what());
    if (!text.isEmpty())
        text += ReportEnding(text.back());
    ::MessageBox(nullptr, text, Title(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const String& Text, const String& Caption, unsigned Flags)
{
    return ::MessageBox(nullptr, Text, Caption, Flags);
}

String TApplication::ExeName() const { return QCoreApplication::applicationFilePath(); }

String TApplication::Title() const { return !FTitle.isEmpty() ? FTitle : QFileInfo(ExeName()).completeBaseName(); }

void TApplication::SetTitle(const String& Value)
{
    FTitle = Value;
}

void TApplication::BringToFront()
{
    if (FMainForm != nullptr && FMainForm->HandleAllocated()) {
        FMainForm->Handle()->raise();
        FMainForm->Handle()->activateWindow();
    }
}

void TApplication::Restore()
{
    if (FMainForm != nullptr && FMainForm->HandleAllocated())
        FMainForm->Handle()->showNormal();
}

void TApplication::Minimize()
{
    if (FMainForm != nullptr && FMainForm->HandleAllocated())
        FMainForm->Handle()->showMinimized();
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FMainForm)
        FMainForm = nullptr;
}

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

void TScreen::SetCursor(TCursor Value)
{
    if (Value == FCursor)
        return;
    if (FCursor != crDefault)
        QGuiApplication::restoreOverrideCursor();
    FCursor = Value;
    if (Value != crDefault)
        QGuiApplication::setOverrideCursor(CursorToQt(Value));
}

QCursor TScreen::Cursors(TCursor Id) const
{
    const auto found = FCursors.find(Id);
    if (found != FCursors.end())
        return found->second;
    return Id > 0 ? QCursor(Qt::ArrowCursor) : CursorToQt(Id);
}

bool TScreen::SetCursors(TCursor Id, const String& ImagePath, TPoint HotSpot)
{
    const QPixmap image(ImagePath);
    if (image.isNull())
        return false;
    FCursors[Id] = QCursor(image, HotSpot.X, HotSpot.Y);
    return true;
}

TCustomForm* TScreen::ActiveForm() const
{
    return dynamic_cast<TCustomForm*>(FindControl(QApplication::activeWindow()));
}

TWinControl* TScreen::ActiveControl() const
{
    const TCustomForm* form = ActiveForm();
    return form != nullptr ? form->ActiveControl() : nullptr;
}

int TScreen::Width() const { return PlatformMetrics().Monitors().front().Bounds.Width(); }

int TScreen::Height() const { return PlatformMetrics().Monitors().front().Bounds.Height(); }

TRect TScreen::WorkAreaRect() const { return PlatformMetrics().Monitors().front().WorkArea; }

TRect TScreen::MonitorWorkAreaFromRect(const TRect& Rect) const { return PlatformMetrics().MonitorNearest(Rect).WorkArea; }

void TScreen::AddForm(TCustomForm* Form) { FForms.push_back(Form); }

void TScreen::RemoveForm(TCustomForm* Form)
{
    FForms.erase(std::remove(FForms.begin(), FForms.end(), Form), FForms.end());
}
