// The Touchstone file of a network run: its data with the header lines that name
// the project and the ports, one function for lumetra-cli and the window, so that
// both give the same file for the same project and options.
#pragma once

#include <string>
#include <vector>

#include "studies/network/network_run.h"
#include "studies/network/touchstone.h"

namespace lumetra::network {

// "Error: The network at <f> MHz has no <X> matrix (singular)"
std::string SingularNetworkMessage(double frequencyMHz, NetworkParameter parameter);

// The file's data for the chosen parameter and format; references as typed (one
// value, or one per port). Throws std::runtime_error with SingularNetworkMessage
// when a point has no matrix of that kind.
TouchstoneData NetworkTouchstone(const NetworkResult& result,
                                          const std::string& projectFile,
                                          NetworkParameter parameter,
                                          PairFormat format,
                                          const std::vector<double>& references);

// The reference impedance field: "50", or one value per port separated by
// commas; checked against the port count by the core. Throws
// std::invalid_argument with the message to show.
std::vector<double> ParseReferenceText(const std::string& text, std::size_t ports);

// "Error: The layout has <n> ports, so its Touchstone file is named .s<n>p"
std::string TouchstoneNameMessage(std::size_t ports);

}  // namespace lumetra::network
