// SPDX-License-Identifier: MIT
// tracely --export with the real executable: no display, no running copy
// asked, no settings file written, and nothing written when a file is refused.
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>

namespace {

class ExportCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        Root = m_root.path().toStdString() + "/";
        // A copy of its own: the global settings file would lie beside it.
        ASSERT_TRUE(QFile::copy(TRACELY_EXECUTABLE, QString::fromStdString(Root + "tracely")));
        for (const char* name : {"a.dat", "b.dat"}) {
            std::ofstream out(Root + name);
            out << "# time U_out[mV]\n";
            for (int i = 0; i < 200; ++i)
                out << i * 0.01 << ' ' << (name[0] == 'a' ? i : 200 - i) << '\n';
        }
    }

    int Run(const QStringList& args, QString* errors = nullptr, QString* output = nullptr)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(Root + "config"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(QString::fromStdString(Root));
        process.start(QString::fromStdString(Root + "tracely"), args);
        if (!process.waitForFinished(60000))
            return -2;
        if (errors)
            *errors = QString::fromLocal8Bit(process.readAllStandardError());
        if (output)
            *output = QString::fromLocal8Bit(process.readAllStandardOutput());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -3;
    }

    // The texts of an SVG picture.
    std::set<QString> SvgTexts(const std::string& name) const
    {
        std::set<QString> texts;
        QFile file(QString::fromStdString(Root + name));
        if (!file.open(QIODevice::ReadOnly))
            return texts;
        QXmlStreamReader xml(&file);
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"text")
                texts.insert(xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed());
        return texts;
    }

    std::string Root;

private:
    QTemporaryDir m_root;
};

}   // namespace

TEST_F(ExportCommand, WritesThePictureAtTheAskedSizeWithoutADisplayOrSettings)
{
    EXPECT_EQ(Run({"--export", "out.png", "--size", "640x360", "a.dat", "b.dat"}), 0);
    const QImage picture(QString::fromStdString(Root + "out.png"));
    EXPECT_EQ(picture.size(), QSize(640, 360));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Root + "Tracely.ini"))) << "a settings file was written";
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Root + "_Tracely.ini")));
}

TEST_F(ExportCommand, SvgIsWellFormedAndCarriesTheAxisTitleAsText)
{
    ASSERT_EQ(Run({"--export", "out.svg", "--", "a.dat"}), 0);
    QFile file(QString::fromStdString(Root + "out.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList texts;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"text")
            texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(texts.contains("U_out[mV]")) << texts.join('|').toStdString();
}

TEST_F(ExportCommand, RefusedFileIsNamedAndNothingIsWritten)
{
    QString errors;
    EXPECT_NE(Run({"--export", "out.png", "a.dat", "missing.dat"}, &errors), 0);
    EXPECT_TRUE(errors.contains("missing.dat")) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Root + "out.png")));
    EXPECT_NE(Run({"--export", "out.png"}, &errors), 0) << "no file given";
    EXPECT_NE(Run({"--export", "out.png", "--size", "0x10", "a.dat"}, &errors), 0);
}

TEST_F(ExportCommand, LimitsChooseWhatIsShownAndStatisticsGoToStandardOutput)
{
    QString errors, output;
    ASSERT_EQ(
        Run({"--export", "part.svg", "--x", "0.5:1", "--y1", "50:100", "--stats", "a.dat", "b.dat"}, &errors, &output),
        0)
        << errors.toStdString();
    // The files reach X 1.99 and Y 200; the ticks stop at the limits (X ticks
    // have decimals here, Y ticks none).
    double largestX = 0, largestY = 0;
    for (const QString& text : SvgTexts("part.svg")) {
        bool number = false;
        const double v = text.toDouble(&number);
        double& largest = text.contains('.') ? largestX : largestY;
        largest = number ? std::max(largest, v) : largest;
    }
    EXPECT_DOUBLE_EQ(largestX, 1.0);
    EXPECT_DOUBLE_EQ(largestY, 100);

    // X 0.5 .. 1 holds the points 50 .. 100 of either file, newest first.
    const QStringList lines = output.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << output.toStdString();
    EXPECT_TRUE(lines[0].startsWith("trace\tpoints\tmin\tmax\tmean\trms\tstd\tpeak-to-peak\tx of min"));
    EXPECT_TRUE(lines[1].startsWith("b.dat:U_out[mV]\t51\t100\t150\t125\t")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("a.dat:U_out[mV]\t51\t50\t100\t75\t")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].endsWith("\t0.5\t1")) << lines[2].toStdString();
}

TEST_F(ExportCommand, BadLimitsAreRefusedBeforeAnythingIsWritten)
{
    for (const QStringList& bad :
         {QStringList{"--x", "1:0"}, QStringList{"--y1", "low:high"}, QStringList{"--y2", "5"}}) {
        QString errors, output;
        EXPECT_EQ(Run(QStringList{"--export", "out.png"} + bad + QStringList{"--stats", "a.dat"}, &errors, &output), 2);
        EXPECT_TRUE(errors.contains(bad.front()) && errors.contains(bad.back())) << errors.toStdString();
        EXPECT_TRUE(output.isEmpty());
        EXPECT_FALSE(QFile::exists(QString::fromStdString(Root + "out.png")));
    }
}
