// What the "Network parameters" window saves: the Touchstone data of a network
// run with the header lines lumetra-cli's network command writes, so that both
// give the same file for the same project and options.
#pragma once

#include <string>
#include <vector>

#include "studies/network/network_run.h"
#include "studies/network/touchstone.h"

namespace lumetra::gui {

// "Error: The network at <f> MHz has no <X> matrix (singular)"
std::string SingularNetworkMessage(double frequencyMHz, network::NetworkParameter parameter);

// The file's data for the chosen parameter and format; references as typed (one
// value, or one per port). Throws std::runtime_error with SingularNetworkMessage
// when a point has no matrix of that kind.
network::TouchstoneData NetworkTouchstone(const network::NetworkResult& result,
                                          const std::string& projectFile,
                                          network::NetworkParameter parameter,
                                          network::PairFormat format,
                                          const std::vector<double>& references);

// The reference impedance field: "50", or one value per port separated by
// commas; checked against the port count by the core. Throws
// std::invalid_argument with the message to show.
std::vector<double> ParseReferenceText(const std::string& text, std::size_t ports);

// "Error: The layout has <n> ports, so its Touchstone file is named .s<n>p"
std::string TouchstoneNameMessage(std::size_t ports);

}  // namespace lumetra::gui
