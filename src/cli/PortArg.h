#pragma once

#include <string>
#include <vector>

// Ports a panel may be found on: the serial devices of this machine, then the
// ports named in the environment variable QEL_PORTS (separated by spaces or
// commas; network ports, pseudo-terminals), each once.
std::vector<std::string> CandidatePorts();

// Adds the ports of a ports file: one a line, blank lines and text from "#"
// on left out. False with reason when the file cannot be read.
bool ReadPortsFile(const std::string& path, std::vector<std::string>& ports, std::string& reason);

// The port a --port argument names. "auto" probes CandidatePorts() and gives
// the one that answers as a QEL-1; when none or several answer it prints
// "qelctl: auto: ..." with the ports searched or found and returns false.
bool ResolvePortArg(const std::string& arg, std::string& port);
