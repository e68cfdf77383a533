// Shows the window as a user sees it after importing a word list and searching it,
// then saves what the display shows of it.
// Usage: quorvane_screenshot WORDS-FILE LETTERS OUTPUT.png

#include "push_button/xp_button.h"
#include "window/frm_main.h"
#include "window/quorvane_application.h"

#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include <cstdio>

namespace {

// Picks the word file and acknowledges every box, as the user would.
class AnsweringDialogs : public Dialogs {
public:
    explicit AnsweringDialogs(QString words) : words_(std::move(words)) {}
    Answer message(const QString&, const QString&, Icon, Buttons) override { return Answer::Ok; }
    QString openFileName(const QString&) override { return words_; }
    QString saveFileName(const QString&) override { return QString(); }

private:
    QString words_;
};

} // namespace

int main(int argc, char** argv)
{
    QuorvaneApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: quorvane_screenshot WORDS-FILE LETTERS OUTPUT.png\n");
        return 2;
    }
    AnsweringDialogs dialogs(args.at(1));
    Dialogs::install(&dialogs);

    FrmMain form;
    form.move(40, 40);
    form.show();
    int status = 1;
    QTimer::singleShot(500, [&] {
        form.command2->Click();
        form.t1->setText(args.at(2));
        form.o2->setChecked(true);
        form.command1->Click();
        QTimer::singleShot(500, [&] {
            const QRect frame = form.frameGeometry();
            const QPixmap shot = form.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
            status = shot.save(args.at(3)) ? 0 : 1;
            form.endProgram();
        });
    });
    app.exec();
    Dialogs::install(nullptr);
    return status;
}
