#pragma once

// The message log below the drawing: shows MessageLog with its colours and faces and
// always keeps its last line in view.

#include <QTextEdit>

#include "log/message_log.h"

namespace vortak {

class LogView : public QTextEdit {
    Q_OBJECT
public:
    LogView(MessageLog& log, QWidget* parent = nullptr);
    ~LogView() override;

    void append(const LogRun& run);

private:
    MessageLog& log_;
};

}  // namespace vortak
