#include "PortLine.h"

#include "NetworkLine.h"
#include "SerialPort.h"
#include "TcpLine.h"

#include <cerrno>

std::unique_ptr<ISerialLine> MakeLineFor(const std::string& portName, IClock& clock)
{
    if (IsNetworkPort(portName))
        return std::make_unique<CRfc2217Line>(std::make_unique<CTcpLine>(), clock);
    return std::make_unique<CSerialPort>();
}

void CPortLine::Open(const std::string& portName)
{
    Close();
    m_line = MakeLineFor(portName, m_clock);
    m_line->Open(portName);
}

void CPortLine::Close()
{
    if (m_line)
        m_line->Close();
}

ISerialLine& CPortLine::Line()
{
    if (!m_line)
        ThrowSerialException(EBADF);
    return *m_line;
}
