#include <QtTest>

#include "log/message_log.h"

using namespace vortak;

class TestMessageLog : public QObject {
    Q_OBJECT
private slots:
    void firstEntryStartsWithLineBreakAndBlank();
    void sameLineEntryKeepsItsOwnColourAndFace();
    void emptyTextMakesBlankLine();
    void listenerSeesEveryRun();
    void colours();
};

void TestMessageLog::firstEntryStartsWithLineBreakAndBlank() {
    MessageLog log;
    log.LogMessage("New file", LogColour::Black, true);
    QCOMPARE(log.plainText(), std::string("\r\n New file"));
    QCOMPARE(log.lines().size(), std::size_t(2));
    QCOMPARE(log.lines()[0], std::string());
    QCOMPARE(log.lastLine(), std::string(" New file"));
    QVERIFY(log.runs()[0].bold);
}

void TestMessageLog::sameLineEntryKeepsItsOwnColourAndFace() {
    MessageLog log;
    log.LogMessage("Start:  10:00:00");
    log.LogMessage("refused", LogColour::Red, true);
    log.LogMessage(", Termination: 10:00:01", LogColour::Black, false, true);
    QCOMPARE(log.lastLine(), std::string(" refused , Termination: 10:00:01"));
    QCOMPARE(log.runs().size(), std::size_t(3));
    const LogRun& red = log.runs()[1];
    const LogRun& same = log.runs()[2];
    QCOMPARE(red.colour, LogColour::Red);
    QVERIFY(red.bold);
    QCOMPARE(same.colour, LogColour::Black);
    QVERIFY(!same.bold);
    QCOMPARE(same.text, std::string(" , Termination: 10:00:01"));
}

void TestMessageLog::emptyTextMakesBlankLine() {
    MessageLog log;
    log.LogMessage("a");
    log.LogMessage("");
    log.LogMessage("b", LogColour::Navy);
    const std::vector<std::string> expected{"", " a", " ", " b"};
    QCOMPARE(log.lines(), expected);
    QCOMPARE(log.plainText(), std::string("\r\n a\r\n \r\n b"));
}

void TestMessageLog::listenerSeesEveryRun() {
    MessageLog log;
    std::string seen;
    log.setListener([&](const LogRun& run) { seen += run.text; });
    log.LogMessage("one", LogColour::Green);
    log.LogMessage("two", LogColour::Grey, false, true);
    QCOMPARE(seen, log.plainText());
}

void TestMessageLog::colours() {
    QCOMPARE(logColourRgb(LogColour::Black), packColour(0, 0, 0));
    QCOMPARE(logColourRgb(LogColour::Navy), packColour(0, 0, 128));
    QCOMPARE(logColourRgb(LogColour::Green), packColour(0, 128, 0));
    QCOMPARE(logColourRgb(LogColour::Red), packColour(255, 0, 0));
    QCOMPARE(logColourRgb(LogColour::Grey), packColour(128, 128, 128));
}

QTEST_APPLESS_MAIN(TestMessageLog)
#include "test_message_log.moc"
