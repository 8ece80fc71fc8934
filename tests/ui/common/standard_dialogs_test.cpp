// Message boxes, menus, the colour and the file dialogs as the user meets them over the dark skin:
// each box titled and marked with its kind, and the toolkit's own dialogs in the skin's colours.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include <cstdlib>
#include <functional>

#include "core/app/text_table.h"
#include "ui/common/file_dialog_chooser.h"
#include "ui/common/message_box_prompt.h"
#include "ui/controls/colour_button.h"
#include "ui/controls/control_style.h"

namespace qv::test {
namespace {

// The look is the program's own, set once at start; each test puts the toolkit's back.
class StandardDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        styleName_ = QApplication::style()->name();
        palette_ = QApplication::palette();
        styleSheet_ = qApp->styleSheet();
        ui::ApplySkinLook(*qApp);
    }
    void TearDown() override {
        qApp->setStyleSheet(styleSheet_);
        QApplication::setStyle(styleName_);
        QApplication::setPalette(palette_);
    }

    // Runs `open`, which shows a modal dialog, and hands that dialog to `look` before closing it.
    template <typename Dialog>
    void WhileShown(const std::function<void()>& open, const std::function<void(Dialog&)>& look) {
        bool seen = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            poll.stop();
            seen = true;
            look(*dialog);
            dialog->reject();
        });
        poll.start();
        open();
        EXPECT_TRUE(seen) << "no dialog of the expected kind was shown";
    }

    static bool Dark(const QColor& c) { return c.lightness() < 64; }
    // The style's stock pictures (a tick, a cross, a folder) do not belong on the skin's buttons.
    // X11 and Wayland desktops ask for them, the offscreen platform does not: the Wayland run of
    // the suite is where a missing rule shows.
    static void ExpectPlainButtons(const QWidget& dialog) {
        const auto boxes = dialog.findChildren<QDialogButtonBox*>();
        ASSERT_FALSE(boxes.isEmpty());
        for (const QDialogButtonBox* box : boxes) {
            for (const QAbstractButton* b : box->buttons()) EXPECT_TRUE(b->icon().isNull()) << b->text().toStdString();
        }
    }
    static bool Light(const QColor& c) { return c.lightness() > 180; }

    QString styleName_;
    QPalette palette_;
    QString styleSheet_;
};

TEST_F(StandardDialogs, EachMessageBoxIsTitledAndMarkedWithItsKind) {
    ui::MessageBoxPrompt prompt;
    const QString caption = QString::fromStdString(Text(TextId::MAIN_CAPTION));
    ASSERT_FALSE(caption.trimmed().isEmpty());
    struct Case {
        std::function<void()> show;
        QMessageBox::Icon icon;
    };
    const Case cases[] = {
        {[&] { prompt.ShowError("The profile file could not be written."); }, QMessageBox::Critical},
        {[&] { prompt.ShowWarning("The keyboard is busy."); }, QMessageBox::Warning},
        {[&] { prompt.ShowMessage("The backup was written."); }, QMessageBox::Information},
    };
    for (const Case& c : cases) {
        WhileShown<QMessageBox>(c.show, [&](QMessageBox& box) {
            EXPECT_EQ(box.icon(), c.icon);
            EXPECT_FALSE(box.iconPixmap().isNull()) << "the kind is shown, not only recorded";
            EXPECT_EQ(box.windowTitle(), caption);
            EXPECT_TRUE(Dark(box.palette().color(QPalette::Window)));
            EXPECT_TRUE(Light(box.palette().color(QPalette::WindowText)));
            ExpectPlainButtons(box);
        });
    }
}

TEST_F(StandardDialogs, QuestionsAskWithNoAsTheDefaultAndActOnlyOnYes) {
    ui::MessageBoxPrompt prompt;
    bool answer = true;
    WhileShown<QMessageBox>([&] { answer = prompt.AskYesNo("Delete the profile?"); }, [](QMessageBox& box) {
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        ASSERT_NE(box.defaultButton(), nullptr);
        EXPECT_EQ(box.standardButton(box.defaultButton()), QMessageBox::No);
    });
    EXPECT_FALSE(answer) << "a box closed without an answer is a No";
}

TEST_F(StandardDialogs, MenusAreDrawnDarkWithLightText) {
    QMenu menu;
    menu.addAction("Open");
    menu.addAction("Exit");
    menu.ensurePolished();
    const QImage picture = menu.grab().toImage();
    ASSERT_FALSE(picture.isNull());
    // Inside the border, clear of the entries' text.
    EXPECT_TRUE(Dark(picture.pixelColor(picture.width() - 6, picture.height() / 2)));
    EXPECT_TRUE(Light(menu.palette().color(QPalette::WindowText)));
}

TEST_F(StandardDialogs, TheColourButtonOpensTheToolkitsDialogInTheSkinsColours) {
    ui::CColourButton button(1);
    WhileShown<QColorDialog>([&] { button.click(); }, [](QColorDialog& dialog) {
        EXPECT_TRUE(dialog.testOption(QColorDialog::DontUseNativeDialog))
            << "a desktop's own dialog would not wear the skin";
        EXPECT_TRUE(Dark(dialog.palette().color(QPalette::Window)));
        EXPECT_TRUE(Dark(dialog.palette().color(QPalette::Base)));
        for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
            if (!b->isVisible()) continue;
            EXPECT_TRUE(Light(b->palette().color(QPalette::ButtonText))) << b->text().toStdString();
        }
    });
}

TEST_F(StandardDialogs, FileDialogsAreTheToolkitsOwnInTheSkinsColours) {
    ui::FileDialogChooser chooser;
    FileDialogOptions o;
    o.defaultExtension = "qvn";
    o.initialName = "*.qvn";
    o.filter = "(*.qvn)|*.qvn|(*.*)|*.*||";
    o.initialFolder = QDir::tempPath().toStdString();
    const auto look = [](QFileDialog& dialog) {
        EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog))
            << "a desktop's own dialog would not wear the skin";
        EXPECT_TRUE(Dark(dialog.palette().color(QPalette::Window)));
        EXPECT_TRUE(Dark(dialog.palette().color(QPalette::Base)));
        EXPECT_TRUE(Light(dialog.palette().color(QPalette::Text)));
        ExpectPlainButtons(dialog);
    };
    WhileShown<QFileDialog>([&] { EXPECT_FALSE(chooser.ChooseFileToOpen(o)); }, look);
    WhileShown<QFileDialog>([&] { EXPECT_FALSE(chooser.ChooseFileToSave(o)); }, look);
}

}  // namespace
}  // namespace qv::test
