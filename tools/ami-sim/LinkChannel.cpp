#include "tools/ami-sim/LinkChannel.h"

#include <chrono>
#include <filesystem>

#include "tools/ami-sim/ChannelChecks.h"
#include "tools/ami-sim/FrequencyDomainChannel.h"
#include "tools/ami-sim/TimeValueCsv.h"
#include "tools/ami-sim/Touchstone.h"

namespace amisim {

namespace {

std::string FileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

bool FromTouchstone(const LinkPlan& plan, LinkChannel& c, std::string& error) {
    const ChannelPlan& p = plan.channel;
    NetworkData network;
    ThroughConversion conversion;
    if (!ReadTouchstone(p.file, network, error)) return false;
    if (!SelectThrough(network, p.ports, c.through, error) ||
        !ChannelFromThrough(c.through, plan.sampleInterval, c.channel, error, &conversion)) {
        error = p.file + ": " + error;
        return false;
    }
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
    if (!ok) return false;
    c.figures = MeasureChannel(c.channel, plan.sampleInterval, plan.bitTime);
    c.setupSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return true;
}

}  // namespace amisim
