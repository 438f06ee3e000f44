#include "tools/ami-sim/LinkChannel.h"

#include <chrono>
#include <filesystem>

#include "tools/ami-sim/ChannelChecks.h"
#include "tools/ami-sim/FrequencyDomainChannel.h"
#include "tools/ami-sim/TerminatedNetwork.h"
#include "tools/ami-sim/TimeValueCsv.h"
#include "tools/ami-sim/Touchstone.h"

namespace amisim {

namespace {

std::string FileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// The response between the ends: the network terminated by them.
bool Terminated(const LinkPlan& plan, const NetworkData& network, const ThroughResponse& bare,
                LinkChannel& c, ThroughConversion* conversion, std::string& error) {
    ThroughResponse ended;
    if (!TerminateThrough(network, bare.ports, plan.analog.tx, plan.analog.rx, ended, error) ||
        !ChannelFromThrough(ended, plan.sampleInterval, c.channel, error, conversion))
        return false;
    c.analog = true;
    c.channel.description = bare.label + " between the analog ends";
    return true;
}

bool FromTouchstone(const LinkPlan& plan, LinkChannel& c, std::string& error) {
    const ChannelPlan& p = plan.channel;
    NetworkData network;
    ThroughConversion conversion;
    if (!ReadTouchstone(p.file, network, error)) return false;
    Channel bare;
    if (!SelectThrough(network, p.ports, c.through, error) ||
        !ChannelFromThrough(c.through, plan.sampleInterval, bare, error, &conversion) ||
        (plan.analog.apply && !Terminated(plan, network, c.through, c, &conversion, error))) {
        error = p.file + ": " + error;
        return false;
    }
    c.bare = MeasureChannel(bare, plan.sampleInterval, plan.bitTime);
    if (!c.analog) c.channel = std::move(bare);
    c.analogAs = "the file's full " + std::to_string(network.ports) + "-port network";
    std::vector<std::string> found;
    CheckNetwork(network, conversion.rollOffFrom, found);
    CheckPortOrder(network, p.ports, found);
    CheckConversion(conversion, plan.sampleInterval, plan.bitTime, found);
    const std::string name = FileName(p.file);
    for (const std::string& w : found) c.warnings.push_back(name + ": " + w);
    c.channel.description = name + " " + c.channel.description;
    return true;
}

bool FromTable(const LinkPlan& plan, LinkChannel& c, std::string& error) {
    const ChannelPlan& p = plan.channel;
    TimeValueTable table;
    if (!ReadTimeValueCsv(p.file, table, error)) return false;
    const ResponseKind kind =
        p.source == ChannelSource::ImpulseFile ? ResponseKind::Impulse : ResponseKind::Step;
    if (!ChannelFromTable(table, kind, plan.sampleInterval, c.channel, error)) {
        error = p.file + ": " + error;
        return false;
    }
    c.channel.description += " " + FileName(p.file);
    return true;
}

// A response of the simulation grid between the ends, as a matched line.
bool EndsOnTaps(const LinkPlan& plan, LinkChannel& c, std::string& error) {
    c.bare = MeasureChannel(c.channel, plan.sampleInterval, plan.bitTime);
    if (!plan.analog.apply) return true;
    const NetworkData line = MatchedLine(c.channel.taps, plan.sampleInterval);
    ThroughResponse bare;
    bare.frequency = line.frequency;
    bare.ports = {1, 2};
    bare.label = c.channel.description;
    if (!Terminated(plan, line, bare, c, nullptr, error)) return false;
    c.analogAs = "a matched 50 ohm line";
    return true;
}

}  // namespace

bool PrepareChannel(const LinkPlan& plan, LinkChannel& c, std::string& error) {
    const auto started = std::chrono::steady_clock::now();
    c = LinkChannel();
    bool ok = false;
    switch (plan.channel.source) {
        case ChannelSource::LossyLine:
            ok = DesignLossyLine(plan.channel.lossDb, plan.bitTime, plan.sampleInterval, c.channel,
                                 error);
            break;
        case ChannelSource::Touchstone:
            ok = FromTouchstone(plan, c, error);
            break;
        case ChannelSource::ImpulseFile:
        case ChannelSource::StepFile:
            ok = FromTable(plan, c, error);
            break;
    }
    if (ok && plan.channel.source != ChannelSource::Touchstone) ok = EndsOnTaps(plan, c, error);
    if (!ok) return false;
    c.figures = MeasureChannel(c.channel, plan.sampleInterval, plan.bitTime);
    c.setupSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return true;
}

}  // namespace amisim
