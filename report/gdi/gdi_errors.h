// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string>

// What the GDI printer tells the user, in Portuguese: the same texts as the
// Linux printer's where the cause is the same.
inline const char* const NoPrinterMessage = "Nenhuma impressora padrão está instalada.";
inline const char* const NoSpoolerMessage = "O serviço de impressão não está disponível.";
inline const char* const RefusedMessage = "A impressora recusou o documento.";

inline std::string WaitingMessage(const std::string& printer)
{
    return "O documento aguarda na fila da impressora " + printer + ", que está parada.";
}

// The message for a spooler call that failed with error (GetLastError()):
// the print spooler service out of reach, a printer that is not there, or
// else the printer refusing the document.
inline const char* SpoolerFailureMessage(DWORD error)
{
    switch (error) {
    case RPC_S_SERVER_UNAVAILABLE:
    case RPC_S_SERVER_TOO_BUSY:
    case RPC_S_CALL_FAILED:
    case RPC_S_CALL_FAILED_DNE:
    case EPT_S_NOT_REGISTERED:
    case ERROR_SERVICE_NOT_ACTIVE: return NoSpoolerMessage;
    case ERROR_INVALID_PRINTER_NAME:
    case ERROR_FILE_NOT_FOUND: return NoPrinterMessage;
    default: return RefusedMessage;
    }
}

// True when Windows reports the printer (PRINTER_INFO_2's Status and
// Attributes) as paused or offline: a job sent to it waits in its queue.
inline bool PrinterStopped(DWORD status, DWORD attributes)
{
    return (status & (PRINTER_STATUS_PAUSED | PRINTER_STATUS_OFFLINE)) != 0 ||
           (attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE) != 0;
}
