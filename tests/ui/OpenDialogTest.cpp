// SPDX-License-Identifier: MIT
// The open dialog as the program builds it: every name under "*.*", each
// description shown once, the filter of the shown file selected, room to read.
#include "Dialogs.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString kBuiltIn = QStringLiteral(
    "GDWファイル(*.gdw)|*.gdw|データファイル(*.dat)|*.dat|テキストファイル(*.txt)|*.txt|全てのファイル(*.*)|*.*");

struct MatchCase {
    const char* Label;
    QString Filter;
    std::string File;
    int Index;
};

class FilterOfShownFile : public testing::TestWithParam<MatchCase> { };

TEST_P(FilterOfShownFile, IsTheFirstWhosePatternMatches)
{
    EXPECT_EQ(MatchingFilterIndex(GetParam().Filter, GetParam().File), GetParam().Index);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FilterOfShownFile,
    testing::Values(MatchCase{"Dat", kBuiltIn, "/data/run07.dat", 1},
                    MatchCase{"CaseIgnored", kBuiltIn, "/data/RUN.GDW", 0},
                    MatchCase{"OtherExtension", kBuiltIn, "/data/log.csv", 3},
                    MatchCase{"NoDot", kBuiltIn, "/data/noext", 3}, MatchCase{"NothingShown", kBuiltIn, "", 0},
                    MatchCase{"DotInDirectoryOnly", QStringLiteral("Data|*.dat|Plain|*"), "/a.dat/plain", 1},
                    MatchCase{"SeveralPatterns", QStringLiteral("Text|*.txt|Both|*.csv;*.tsv"), "/d/x.tsv", 1},
                    MatchCase{"NoneMatches", QStringLiteral("Text|*.txt"), "/d/x.dat", 0}),
    [](const auto& testInfo) { return std::string(testInfo.param.Label); });

TEST(OpenDialog, AllFilesMeansEveryName)
{
    EXPECT_EQ(QtFiltersFromDialogFilter(kBuiltIn).back(), QStringLiteral("全てのファイル(*.*) (*)"));
    EXPECT_EQ(QtFiltersFromDialogFilter(QStringLiteral("Both|*.csv;*.tsv")),
              QStringList{QStringLiteral("Both (*.csv *.tsv)")});
}

TEST(OpenDialog, ShowsEachDescriptionOnceSelectsTheGivenFilterAndListsNamesWithoutDot)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"noext", "a.dat", "b.gdw"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const std::unique_ptr<QFileDialog> dialog = MakeOpenDialog(nullptr, dir.path(), kBuiltIn, 3);
    dialog->show();

    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    QStringList shown;
    for (int i = 0; i < types->count(); ++i)
        shown << types->itemText(i);
    EXPECT_EQ(
        shown,
        QStringList({"GDWファイル(*.gdw)", "データファイル(*.dat)", "テキストファイル(*.txt)", "全てのファイル(*.*)"}));
    EXPECT_EQ(types->currentIndex(), 3);
    EXPECT_GE(dialog->width(), 700);
    EXPECT_GE(dialog->height(), 450);

    auto* model = dialog->findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    const QModelIndex root = model->index(dir.path());
    EXPECT_TRUE(QTest::qWaitFor([&] { return model->rowCount(root) == 3; }, 5000)) << model->rowCount(root);
    dialog->selectNameFilter(QtFiltersFromDialogFilter(kBuiltIn)[1]);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            int visible = 0;
            for (int row = 0; row < model->rowCount(root); ++row)
                visible += model->flags(model->index(row, 0, root)) & Qt::ItemIsEnabled ? 1 : 0;
            return model->rowCount(root) == 1 || visible == 1;
        },
        5000));
}

}   // namespace
