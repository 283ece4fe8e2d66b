// SPDX-License-Identifier: MIT
#include "AppTestSupport.h"
#include "MainWindowUi.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QUrl FileUrl(const std::string& path)
{
    return QUrl::fromLocalFile(QString::fromStdString(path));
}

bool InDataLayout(const TForm1& form)
{
    return Ui(form).NextFile->isEnabled() && !Ui(form).X0_upper->isHidden() && !Ui(form).NumofTraces->isHidden();
}

class DroppedFiles : public MainWindowTest {
protected:
    // Drops the URLs on target (the window unless given) the way a file
    // manager does, and lets the queued handling run.
    bool Drop(const QList<QUrl>& urls, QWidget* target = nullptr)
    {
        QMimeData data;
        data.setUrls(urls);
        QWidget* receiver = target ? target : Form.get();
        // Qt hands a drop only to the widget that took the drag's entry.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(receiver, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(receiver, &drop);
        QApplication::processEvents();
        return drop.isAccepted();
    }

    bool DragEnterAccepted(QMimeData& data)
    {
        QDragEnterEvent enter(QPoint(200, 150), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Form.get(), &enter);
        return enter.isAccepted();
    }

    TForm1& MakeDropTarget()
    {
        TForm1& form = MakeForm();
        form.AcceptDroppedFiles();
        return form;
    }
};

}   // namespace

TEST_F(DroppedFiles, ThreeFilesLoadInOrderRaiseTheTraceCountAndBrowseTheFirstDirectory)
{
    ASSERT_EQ(::mkdir((Dir + "first").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir((Dir + "other").c_str(), 0700), 0);
    const std::string a = WriteLine("first/a.dat"), b = WriteLine("other/b.dat"), c = WriteLine("other/c.dat");
    TForm1& form = MakeDropTarget();
    ASSERT_EQ(Ui(form).NumofTraces->text(), "1");

    EXPECT_TRUE(Drop({FileUrl(a), FileUrl(b), FileUrl(c)}));

    EXPECT_EQ(form.State.Traces[0].Name, c);
    EXPECT_EQ(form.State.Traces[1].Name, b);
    EXPECT_EQ(form.State.Traces[2].Name, a);
    EXPECT_EQ(Ui(form).NumofTraces->text(), "3");
    EXPECT_EQ(form.State.TracesShown, 3);
    EXPECT_EQ(form.State.CurrentDir, Dir + "first/");
    EXPECT_TRUE(InDataLayout(form));
    EXPECT_TRUE(Script.Errors.isEmpty());
}

TEST_F(DroppedFiles, TwelveFilesKeepTheLastTenAndTheCountStopsAtTen)
{
    QList<QUrl> urls;
    std::vector<std::string> names;
    for (int i = 1; i <= 12; ++i) {
        names.push_back(WriteLine("f" + std::to_string(100 + i) + ".dat", 5, i));
        urls << FileUrl(names.back());
    }
    TForm1& form = MakeDropTarget();

    Drop(urls);

    for (std::size_t slot = 0; slot < 10; ++slot)
        EXPECT_EQ(form.State.Traces[slot].Name, names[11 - slot]);
    EXPECT_EQ(Ui(form).NumofTraces->text(), "10");
    EXPECT_EQ(form.State.TracesShown, 10);
}

TEST_F(DroppedFiles, DropNeverLowersTheTraceCount)
{
    TForm1& form = MakeDropTarget();
    Ui(form).NumofTraces->setText("5");
    Drop({FileUrl(WriteLine("one.dat")), FileUrl(WriteLine("two.dat"))});
    EXPECT_EQ(Ui(form).NumofTraces->text(), "5");
    EXPECT_EQ(form.State.Traces[0].Name, Dir + "two.dat");
}

TEST_F(DroppedFiles, TraceCountThatIsNoNumberAbandonsTheDrop)
{
    const std::string file = WriteLine("a.dat");
    TForm1& form = MakeDropTarget();
    const std::string dirBefore = form.State.CurrentDir;
    const QString cwdBefore = QDir::currentPath();
    Ui(form).NumofTraces->setText("two");
    Script.Errors.clear();

    Drop({FileUrl(file)});

    ASSERT_EQ(Script.Errors.size(), 1);
    EXPECT_EQ(Script.Errors.front(), "'two' は整数ではありません.");
    EXPECT_FALSE(form.State.Traces[0].Loaded());
    EXPECT_FALSE(InDataLayout(form));
    EXPECT_EQ(form.State.CurrentDir, dirBefore);
    EXPECT_EQ(QDir::currentPath(), cwdBefore);
}

TEST_F(DroppedFiles, ItemsThatAreNoLocalRegularFilesAreListedOnceAndTheRestLoads)
{
    ASSERT_EQ(::mkdir((Dir + "folder").c_str(), 0700), 0);
    ASSERT_EQ(::mkfifo((Dir + "pipe.dat").c_str(), 0600), 0);
    const std::string good1 = WriteLine("good1.dat"), good2 = WriteLine("good2.dat");
    TForm1& form = MakeDropTarget();

    // A FIFO without a writer would block an open for reading for ever.
    Drop({QUrl("https://example.org/remote.dat"), FileUrl(Dir + "folder"), FileUrl(good1), FileUrl(Dir + "pipe.dat"),
          FileUrl(Dir + "missing.dat"), QUrl("file://otherhost/share/x.dat"), FileUrl(good2)});

    EXPECT_EQ(form.State.Traces[0].Name, good2);
    EXPECT_EQ(form.State.Traces[1].Name, good1);
    EXPECT_FALSE(form.State.Traces[2].Loaded());
    EXPECT_EQ(Ui(form).NumofTraces->text(), "2");
    ASSERT_EQ(Script.Errors.size(), 1);
    const QStringList lines = Script.Errors.front().split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].contains("remote.dat"));
    EXPECT_TRUE(lines[1].contains("folder"));
    EXPECT_TRUE(lines[2].contains("pipe.dat"));
    EXPECT_TRUE(lines[3].contains("missing.dat"));
    EXPECT_TRUE(lines[4].contains("otherhost"));
}

TEST_F(DroppedFiles, DropOfNothingLoadableChangesNothingButSaysWhy)
{
    ASSERT_EQ(::mkdir((Dir + "folder").c_str(), 0700), 0);
    TForm1& form = MakeDropTarget();
    const std::string dirBefore = form.State.CurrentDir;

    Drop({FileUrl(Dir + "folder"), FileUrl(Dir + "missing.dat")});

    EXPECT_EQ(Script.Errors.size(), 1);
    EXPECT_FALSE(form.State.Traces[0].Loaded());
    EXPECT_FALSE(InDataLayout(form));
    EXPECT_EQ(form.State.CurrentDir, dirBefore);
}

TEST_F(DroppedFiles, FileNameThatIsNotUtf8ArrivesByItsBytes)
{
    const std::string file = WriteLine("m\xe9sure.dat");
    TForm1& form = MakeDropTarget();
    const QUrl url(QString::fromStdString("file://" + Dir + "m%E9sure.dat"));
    ASSERT_TRUE(url.isValid());

    Drop({url});

    EXPECT_TRUE(Script.Errors.isEmpty()) << Script.Errors.join('\n').toStdString();
    EXPECT_EQ(form.State.Traces[0].Name, file);
    ::unlink(file.c_str());   // the temporary directory cannot name it when cleaning up
}

TEST_F(DroppedFiles, OnlyDragsWithLocalFilesAreAccepted)
{
    MakeDropTarget();
    QMimeData local;
    local.setUrls({FileUrl(Dir + "a.dat")});
    QMimeData mixed;
    mixed.setUrls({QUrl("https://example.org/a.dat"), FileUrl(Dir + "b.dat")});
    QMimeData remote;
    remote.setUrls({QUrl("https://example.org/a.dat")});
    QMimeData text;
    text.setText("/some/path.dat");

    EXPECT_TRUE(DragEnterAccepted(local));
    EXPECT_TRUE(DragEnterAccepted(mixed));
    EXPECT_FALSE(DragEnterAccepted(remote));
    EXPECT_FALSE(DragEnterAccepted(text));
    EXPECT_FALSE(Drop({QUrl("https://example.org/a.dat")}));
    EXPECT_TRUE(Script.Errors.isEmpty());
}

TEST_F(DroppedFiles, FileDroppedOnAnEditOpensItInsteadOfBecomingText)
{
    const std::string file = WriteLine("a.dat");
    TForm1& form = MakeDropTarget();
    form.AcceptDroppedFiles();   // a second call must not hand each drop over twice

    Drop({FileUrl(file)}, Ui(form).NumofTraces);

    EXPECT_EQ(Ui(form).NumofTraces->text(), "1");
    EXPECT_EQ(form.State.Traces[0].Name, file);
    EXPECT_FALSE(form.State.Traces[1].Loaded());
    EXPECT_TRUE(Script.Errors.isEmpty()) << Script.Errors.join('\n').toStdString();
}
