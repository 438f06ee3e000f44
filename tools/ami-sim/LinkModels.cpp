#include "tools/ami-sim/LinkModels.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace amisim {

bool StartModels(const LinkPlan& plan, const LinkChannel& channel, LinkModels& models,
                 std::ostream& err, std::string& error) {
    models.blockSize = plan.blockSize;
    models.sampleInterval = plan.sampleInterval;
    models.tx.plan = plan.tx;
    models.rx.plan = plan.rx;
    // AMI_Init wants the response in 1/s.
    std::vector<double> impulse(channel.channel.taps);
    for (double& v : impulse) v /= plan.sampleInterval;
    for (LinkModel* m : {&models.tx, &models.rx}) {
        if (!m->present()) continue;
        // A kit's library is named before it runs, so whatever it does is
        // known to come from that file.
        if (!plan.quiet && plan.nameLibraries && !m->plan.kitModel.empty())
            err << "ami-sim: " << m->plan.role << ": loading " << m->plan.library << " ("
                << m->plan.executable << " of model " << m->plan.kitModel << ")\n";
        if (!m->model.Load(m->plan.library, error)) return false;
        if (!m->model.Init(impulse, plan.sampleInterval, plan.bitTime, m->plan.parameters, error))
            return false;
        if (!plan.quiet && !m->model.InitMessage().empty())
            err << "ami-sim: " << m->plan.role << " " << m->plan.library
                << " AMI_Init message: " << m->model.InitMessage() << '\n';
    }
    return true;
}

bool RunModel(LinkModels& models, LinkModel& m, double* wave, std::size_t n,
              std::size_t firstSample, std::string& error) {
    if (!m.present()) return true;
    const auto started = std::chrono::steady_clock::now();
    const std::size_t block = models.blockSize;
    for (std::size_t off = 0; off < n; off += block) {
        const std::size_t len = std::min(block, n - off);
        if (!m.model.GetWave(wave + off, static_cast<long>(len), error)) {
            char t[64];
            std::snprintf(t, sizeof t, "%.6g",
                          static_cast<double>(firstSample + off) * models.sampleInterval);
            error += " on the block starting at sample " + std::to_string(firstSample + off) +
                     " (t = " + t + " s)";
            return false;
        }
        if (&m == &models.rx) m.model.AppendClockTimes(models.clockTimes);
    }
    m.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return true;
}

void CloseModels(LinkModels& models, std::ostream& err) {
    for (LinkModel* m : {&models.tx, &models.rx}) {
        std::string closeError;
        if (m->present() && !m->model.Close(closeError)) {
            err << "ami-sim: " << closeError << '\n';
            models.closedOk = false;
        }
    }
}

}  // namespace amisim
