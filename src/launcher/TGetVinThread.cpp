#include "launcher/TGetVinThread.h"

#include "launcher/Tfrmprinc.h"

namespace quorvel {

TGetVinThread::TGetVinThread(Tfrmprinc& frmprinc) : m_frmprinc(frmprinc)
{
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void TGetVinThread::run()
{
    setPriority(QThread::NormalPriority);
    m_frmprinc.getvint(this);
}

} // namespace quorvel
