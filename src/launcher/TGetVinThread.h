#pragma once

#include <QThread>

namespace quorvel {

class Tfrmprinc;

// The worker of the version query: runs the main window's getvint and ends. It deletes itself when done.
class TGetVinThread : public QThread
{
    Q_OBJECT
public:
    explicit TGetVinThread(Tfrmprinc& frmprinc);

protected:
    void run() override;

private:
    Tfrmprinc& m_frmprinc;
};

} // namespace quorvel
