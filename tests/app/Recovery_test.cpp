#include "Layout.h"
#include "LayoutFile.h"
#include "LayoutEdits.h"
#include "LayoutHistory.h"
#include "OpenFile.h"
#include "PanelSettings.h"
#include "Recovery.h"
#include "ScriptedUiServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

const QString kOffer =
    QStringLiteral("QELMorvane did not close normally. Restore the layout it was editing?");

// A program's document, open file and recovery, in the test's state folder.
struct TProgram
{
    explicit TProgram(const QString& settings) : file(layout, history, settings) {}

    void Change(const char16_t* name)
    {
        TPanelSettings settings = TPanelSettings::Of(layout);
        settings.controlName = name;
        history.Edits().SetSettings(settings);
    }

    TLayout layout;
    CLayoutHistory history{layout};
    COpenFile file;
    CRecovery recovery{layout, history, file};
};

mode_t ModeOf(const QString& path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

class RecoveryTest : public ::testing::Test
{
protected:
    RecoveryTest()
    {
        m_oldState = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_dir.path()));
    }
    ~RecoveryTest() override
    {
        if (m_oldState.isNull())
            qunsetenv("XDG_STATE_HOME");
        else
            qputenv("XDG_STATE_HOME", m_oldState);
    }
    QString Folder() const { return m_dir.filePath(QStringLiteral("qelmorvane/recovery")); }
    QString Settings() const { return m_dir.filePath(QStringLiteral("settings.ini")); }
    int Offers() const
    {
        int n = 0;
        for (const CScriptedUiServices::TMessage& m : m_ui.messages)
            n += m.text == kOffer ? 1 : 0;
        return n;
    }
    // What a program killed while editing leaves: its copy, its side record
    // and its lock file, no longer held. Taken from a live program's files.
    QString LeaveCopyOf(const TProgram& program, const QString& base)
    {
        const QString left = QDir(Folder()).filePath(base);
        EXPECT_TRUE(QFile::copy(program.recovery.CopyPath(), left + QStringLiteral(".qel")));
        EXPECT_TRUE(QFile::copy(program.recovery.SourcePath(), left + QStringLiteral(".source")));
        QFile lock(left + QStringLiteral(".lock"));
        EXPECT_TRUE(lock.open(QIODevice::WriteOnly));
        return left;
    }

    QTemporaryDir m_dir;
    QByteArray m_oldState;
    CScriptedUiServices m_ui;
    CUiServicesOverride m_use{m_ui};
};

} // namespace

// A change is copied within the delay, into a folder and files of the user's
// alone whatever the umask; a clean state, and a clean end, take it away.
TEST_F(RecoveryTest, ACopyIsKeptWhileThereAreUnsavedChanges)
{
    EXPECT_EQ(CRecovery::DefaultFolder(), Folder());
    const mode_t umask = ::umask(0);
    auto program = std::make_unique<TProgram>(Settings());
    ::umask(umask);
    EXPECT_EQ(ModeOf(Folder()), 0700u);
    const QString copy = program->recovery.CopyPath();
    EXPECT_FALSE(QFileInfo::exists(copy));

    program->Change(u"Lobby");
    // Written by the program's own timer.
    for (int i = 0; i < 50 && !QFileInfo::exists(copy); ++i)
        QTest::qWait(100);
    ASSERT_TRUE(QFileInfo::exists(copy));
    EXPECT_EQ(ModeOf(copy), 0600u);
    EXPECT_EQ(ModeOf(program->recovery.SourcePath()), 0600u);
    TLayout copied;
    ASSERT_TRUE(LoadTemplateFile(copied, copy.toStdString()).ok);
    EXPECT_EQ(copied.controlName, u"Lobby");

    program->history.Undo();
    program->recovery.WriteNow();
    EXPECT_FALSE(QFileInfo::exists(copy)) << "nothing unsaved";
    program->history.Redo();
    program->recovery.WriteNow();
    EXPECT_TRUE(QFileInfo::exists(copy));
    program.reset();
    EXPECT_TRUE(QDir(Folder()).entryList(QDir::Files).isEmpty()) << "a clean end leaves nothing";
}

// At start the copy of a program that is gone is offered, and only that:
// Restore brings it back as unsaved changes of its file, Discard drops it,
// and a copy that cannot be read is reported and kept aside.
TEST_F(RecoveryTest, ACopyLeftByAProgramThatIsGoneIsOffered)
{
    struct TCase
    {
        const char* how;
        EMsgResult answer;
        bool damaged;
        bool restored;
    };
    const TCase cases[] = {
        {"Restore", EMsgResult::Restore, false, true},
        {"Discard", EMsgResult::Discard, false, false},
        {"damaged", EMsgResult::Restore, true, false},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.how);
        m_ui.messages.clear();
        QDir(Folder()).removeRecursively();
        const QString source = m_dir.filePath(QStringLiteral("lobby.qel"));
        QString left;
        QString running;
        {
            TProgram killed(Settings());
            killed.file.Restored(source);
            killed.Change(u"Lobby, edited");
            killed.recovery.WriteNow();
            left = LeaveCopyOf(killed, QStringLiteral("1-1"));
            running = LeaveCopyOf(killed, QStringLiteral("2-2"));
        }
        if (c.damaged)
        {
            QFile damage(left + QStringLiteral(".qel"));
            ASSERT_TRUE(damage.open(QIODevice::WriteOnly | QIODevice::Truncate));
            damage.write("\xD5\xCA\xAD\xAB damaged");
        }
        // Another program still runs and holds its lock.
        const int held = ::open(QFile::encodeName(running + QStringLiteral(".lock")).constData(), O_RDWR);
        ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);

        TProgram next(Settings());
        const std::vector<uint8_t> before = next.layout.SaveToBytes();
        m_ui.messageAnswers.push_back(c.answer);
        EXPECT_EQ(next.recovery.OfferLeftCopies(nullptr), c.restored);
        EXPECT_EQ(Offers(), 1) << "the running program's copy is not offered";
        EXPECT_EQ(m_ui.messages.size(), c.damaged ? 2u : 1u);
        if (c.restored)
        {
            EXPECT_EQ(next.layout.controlName, u"Lobby, edited");
            EXPECT_EQ(next.file.Path(), source);
            EXPECT_TRUE(next.file.IsModified());
            EXPECT_EQ(next.file.WindowTitle(), QStringLiteral("lobby.qel* \u2014 QELMorvane"));
            EXPECT_TRUE(QFileInfo::exists(next.recovery.CopyPath())) << "now this program's own copy";
        }
        else
        {
            EXPECT_EQ(next.layout.SaveToBytes(), before);
            EXPECT_FALSE(next.file.IsModified());
        }
        EXPECT_FALSE(QFileInfo::exists(left + QStringLiteral(".qel")));
        EXPECT_EQ(QFileInfo::exists(left + QStringLiteral(".damaged")), c.damaged) << "kept aside";
        EXPECT_TRUE(QFileInfo::exists(running + QStringLiteral(".qel")));
        ::close(held);
    }
}
