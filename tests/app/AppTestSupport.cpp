// SPDX-License-Identifier: MIT
#include "AppTestSupport.h"

#include <QLineEdit>
#include <QTest>

void TypeInto(QWidget* widget, const QString& text)
{
    auto* edit = qobject_cast<QLineEdit*>(widget);
    ASSERT_NE(edit, nullptr);
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
}

void MainWindowTest::TypeName(const QString& name)
{
    TypeInto(Form->MaskEdit1, name);
}
