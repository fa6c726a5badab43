// Test double of the folder chooser: answers from a queue ("" once it is empty)
// and records every prompt.
#pragma once

#include "ui/folder_chooser.h"

#include <QString>
#include <deque>
#include <vector>

namespace tessaro::test {

class FakeFolderChooser : public ui::FolderChooser {
public:
    QString ChooseFolder(QWidget*, const QString& title) override {
        titles.push_back(title);
        if (answers.empty())
            return QString();
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<QString> answers;
    std::vector<QString> titles;
};

} // namespace tessaro::test
