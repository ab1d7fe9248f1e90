// The database file shared with other programs: what the program registers reaches them and
// survives a kill of the program, and their locks stop its registrations.
#include "platform/ado/ADODB.h"

#include "platform/ado/TestTables.h"
#include "platform/core/Exceptions.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace {

// The program in a process of its own, forked before this process touches the file: it opens
// the file as the program does (its connection and a list of the issues, which reads from a
// connection of its own) and registers one issue per byte it is sent, answering "ok" or the
// error's message, one line each.
class TRegisteringProcess {
public:
    explicit TRegisteringProcess(const String& Path)
    {
        int commands[2], answers[2];
        if (pipe(commands) != 0 || pipe(answers) != 0)
            return;
        FPid = fork();
        if (FPid == 0) {
            close(commands[1]);
            close(answers[0]);
            _exit(Serve(Path, commands[0], answers[1]));
        }
        close(commands[0]);
        close(answers[1]);
        FCommands = commands[1];
        FAnswers = answers[0];
    }
    TRegisteringProcess(const TRegisteringProcess&) = delete;
    TRegisteringProcess& operator=(const TRegisteringProcess&) = delete;
    ~TRegisteringProcess()
    {
        Kill();
        close(FCommands);
        close(FAnswers);
    }

    std::string Register()
    {
        if (write(FCommands, "r", 1) != 1)
            return "(not running)";
        std::string line;
        char c = 0;
        while (read(FAnswers, &c, 1) == 1 && c != '\n')
            line += c;
        return line;
    }

    void Kill()
    {
        if (FPid <= 0)
            return;
        kill(FPid, SIGKILL);
        waitpid(FPid, nullptr, 0);
        FPid = -1;
    }

private:
    static int Serve(const String& Path, int Commands, int Answers)
    {
        TADOConnection connection(nullptr);
        ConnectWithTestTables(connection, Path);
        connection.SetCommandTimeout(1);
        TADOQuery list(nullptr);
        list.SetConnection(&connection);
        list.SQL()->Add(QStringLiteral("select * from oprint order by id"));
        list.Open();
        char command = 0;
        while (read(Commands, &command, 1) == 1) {
            std::string answer = "ok";
            try {
                connection.Execute(QStringLiteral("insert into oprint(姓名, 数量) values ('张三', 1)"));
            } catch (const Exception& error) {
                answer = error.Message().toStdString();
            }
            answer += '\n';
            if (write(Answers, answer.data(), answer.size()) != ssize_t(answer.size()))
                return 1;
        }
        return 0;
    }

    pid_t FPid = -1;
    int FCommands = -1;
    int FAnswers = -1;
};

// Another program on the same file, as a command-line client opens it: one statement, closed.
class SharedFileTest : public testing::Test {
protected:
    int CountFromAnotherProgram() const
    {
        sqlite3* db = nullptr;
        int count = -1;
        if (sqlite3_open_v2(FPath.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
            sqlite3_exec(db, "select count(*) from oprint",
                         [](void* Count, int, char** Values, char**) {
                             *static_cast<int*>(Count) = std::stoi(Values[0]);
                             return 0;
                         },
                         &count, nullptr);
        }
        sqlite3_close(db);
        return count;
    }

    QTemporaryDir FDir;
    const String FPath = FDir.filePath(QStringLiteral("opr.mdb"));
};

}  // namespace

TEST_F(SharedFileTest, RegistrationsReachAnotherProgramStopAtItsLockAndSurviveAKill)
{
    TRegisteringProcess program(FPath);
    ASSERT_EQ(program.Register(), "ok");
    EXPECT_EQ(CountFromAnotherProgram(), 1);
    ASSERT_EQ(program.Register(), "ok");
    EXPECT_EQ(CountFromAnotherProgram(), 2);

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(FPath.toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
    const std::string refused = program.Register();
    sqlite3_close(other);  // rolls the transaction back
    EXPECT_EQ(refused.rfind("数据库正被其他程序使用", 0), 0u) << refused;

    ASSERT_EQ(program.Register(), "ok");
    program.Kill();
    EXPECT_EQ(CountFromAnotherProgram(), 3);
}
