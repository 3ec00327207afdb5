#include <QtTest>

#include "log/message_log.h"

using namespace vortak;

class TestMessageLog : public QObject {
    Q_OBJECT
private slots:
    void newLineEntries() {
        // Every entry starts a line with one blank, the first one too; empty text is a blank line.
        MessageLog log;
        log.LogMessage("New file", LogColour::Black, true);
        log.LogMessage("");
        log.LogMessage("b", LogColour::Navy);
        QCOMPARE(log.plainText(), std::string("\r\n New file\r\n \r\n b"));
        QCOMPARE(log.lines(), (std::vector<std::string>{"", " New file", " ", " b"}));
        QVERIFY(log.runs()[0].bold && !log.runs()[2].bold);
    }

    void sameLineEntryKeepsItsOwnColourAndFace() {
        MessageLog log;
        std::string seen;
        log.setListener([&](const LogRun& run) { seen += run.text; });
        log.LogMessage("refused", LogColour::Red, true);
        log.LogMessage(", Termination: 10:00:01", LogColour::Black, false, true);
        QCOMPARE(log.lastLine(), std::string(" refused , Termination: 10:00:01"));
        const LogRun& same = log.runs()[1];
        QCOMPARE(same.text, std::string(" , Termination: 10:00:01"));
        QVERIFY(same.colour == LogColour::Black && !same.bold);
        QCOMPARE(log.runs()[0].colour, LogColour::Red);
        QCOMPARE(seen, log.plainText());  // the listener sees every run
    }
};

QTEST_APPLESS_MAIN(TestMessageLog)
#include "test_message_log.moc"
