// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Why a page could not be printed, as the window tells the user: one text
// for one cause, whichever printer meets it.

#include <string>

inline constexpr const char* NoPrinterMessage = "Nenhuma impressora padrão está instalada.";
inline constexpr const char* NoSpoolerMessage = "O serviço de impressão não está disponível.";
inline constexpr const char* NotAnsweringMessage = "O serviço de impressão não está respondendo.";
inline constexpr const char* RefusedMessage = "A impressora recusou o documento.";
inline constexpr const char* NoRoomMessage = "Não há espaço para montar o documento.";
inline constexpr const char* DroppedMessage =
    "A conexão com o serviço de impressão caiu durante o envio, e o documento foi cancelado.";

inline std::string UnreachableMessage(const std::string& server)
{
    return "O servidor de impressão " + server + " não pode ser alcançado.";
}

inline std::string WaitingMessage(const std::string& printer)
{
    return "O documento aguarda na fila da impressora " + printer + ", que está parada.";
}

inline std::string HeldMessage(const std::string& printer)
{
    return "O documento aguarda na fila da impressora " + printer + ", que retém os novos trabalhos.";
}

// A server on a local socket is this computer's own print service, which a
// user knows by that name rather than by the socket's path.
inline std::string LoginMessage(const std::string& server)
{
    const std::string who =
        server.starts_with('/') ? "O serviço de impressão deste computador" : "O servidor de impressão " + server;
    return who + " pede autenticação, que o Orvanta não pode fornecer.";
}

// The printer is named unless the server forbids the request that names it.
inline std::string ForbiddenMessage(const std::string& printer)
{
    return "O servidor de impressão não permite que este usuário imprima na impressora " +
           (printer.empty() ? "padrão" : printer) + ".";
}

inline std::string MissingDefaultMessage(const std::string& printer)
{
    return "A impressora padrão escolhida, " + printer + ", não existe.";
}
