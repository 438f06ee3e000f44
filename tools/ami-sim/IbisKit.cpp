#include "tools/ami-sim/IbisKit.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "IbisParser/check.h"
#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/difpin.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msg.h"
#include "IbisParser/parse.h"
#include "IbisParser/pkg.h"

namespace amisim {

namespace {

KitTriple Triple(const RNG_TypMinMax& t) {
    KitTriple k;
    k.given = t.state[RNG_TYP] == CMN_VALUE_GIVEN;
    if (!k.given) return k;
    for (int i = 0; i < 3; ++i)
        k.value[i] = t.state[i] == CMN_VALUE_GIVEN ? t.value[i] : t.value[RNG_TYP];
    return k;
}

IvTable Table(const RngpTable& t) {
    IvTable table;
    if (t.line == 0) return table;
    for (int r = 0; r < t.count; ++r) {
        const RngpRow& row = t.row[r];
        if (row.firstState != CMN_VALUE_GIVEN || row.col.state[RNG_TYP] != CMN_VALUE_GIVEN)
            continue;
        // The checker reports a voltage that does not increase; such a row
        // is left out here so the table stays a function.
        if (!table.voltage.empty() && !(row.first > table.voltage.back())) continue;
        table.voltage.push_back(row.first);
        for (int i = 0; i < 3; ++i)
            table.current[i].push_back(
                row.col.state[i] == CMN_VALUE_GIVEN ? row.col.value[i] : row.col.value[RNG_TYP]);
    }
    return table;
}

void ReadPins(const CMPNT_Component* c, KitComponent& k) {
    for (const PIN_Pin* p = c->pins; p != nullptr; p = p->next) {
        KitPin pin;
        pin.name = p->name;
        pin.signal = p->signal;
        pin.model = p->model;
        pin.hasR = p->rPin.state == PIN_VALUE_GIVEN;
        pin.hasL = p->lPin.state == PIN_VALUE_GIVEN;
        pin.hasC = p->cPin.state == PIN_VALUE_GIVEN;
        pin.r = pin.hasR ? p->rPin.value : 0.0;
        pin.l = pin.hasL ? p->lPin.value : 0.0;
        pin.c = pin.hasC ? p->cPin.value : 0.0;
        pin.line = p->line;
        k.pins.push_back(pin);
    }
    for (const DIFPIN_DiffPin* d = c->diffPins; d != nullptr; d = d->next)
        k.diffPins.emplace_back(d->pin, d->invPin);
}

KitComponent Component(const CMPNT_Component* c) {
    KitComponent k;
    k.name = c->name;
    if (c->package != nullptr) {
        KitTriple* to[PKG_COUNT] = {&k.rPkg, &k.lPkg, &k.cPkg};
        for (int i = 0; i < PKG_COUNT; ++i)
            if (c->package->value[i] != nullptr) *to[i] = Triple(*c->package->value[i]);
    }
    ReadPins(c, k);
    return k;
}

void ReadExecutables(const AlgExecList* list, KitModel& k) {
    if (list == nullptr) return;
    // The checker keeps the newest line first; the file's order reads better.
    for (const AlgExecutable* e = list->first; e != nullptr; e = e->next) {
        KitExecutable x;
        x.direction = e->direction == ALGMOD_RX   ? KitExecutable::Rx
                      : e->direction == ALGMOD_TX ? KitExecutable::Tx
                                                  : KitExecutable::Either;
        x.platform = e->platform;
        x.compiler = e->compiler;
        x.bits = e->bits;
        x.codeFile = e->codeFile;
        x.paramFile = e->paramFile;
        k.executables.insert(k.executables.begin(), x);
    }
}

KitModel Model(const MDL_Model* m) {
    KitModel k;
    k.name = m->name;
    const char* type = MDL_TypeName(m->type);
    k.type = type != nullptr ? type : "";
    k.drives = MDL_IsOutputType(m->type) != 0;
    k.receives = MDL_IsInputType(m->type) != 0;
    if (m->ccompGiven[MDL_C_COMP]) k.cComp = Triple(m->ccomp[MDL_C_COMP]);
    const struct {
        int index;
        KitTriple& to;
    } triples[] = {{MDL_VOLTAGE_RANGE, k.voltageRange},
                   {MDL_PULLUP_REFERENCE, k.pullupReference},
                   {MDL_PULLDOWN_REFERENCE, k.pulldownReference},
                   {MDL_POWER_CLAMP_REFERENCE, k.powerClampReference},
                   {MDL_GND_CLAMP_REFERENCE, k.gndClampReference}};
    for (const auto& t : triples)
        if (m->tripleGiven[t.index]) t.to = Triple(m->triple[t.index]);
    k.hasRref = m->singleGiven[MDL_RREF] != 0;
    k.hasVref = m->singleGiven[MDL_VREF] != 0;
    k.rref = m->single[MDL_RREF];
    k.vref = m->single[MDL_VREF];
    k.pullup = Table(m->table[MDL_PULLUP]);
    k.pulldown = Table(m->table[MDL_PULLDOWN]);
    k.gndClamp = Table(m->table[MDL_GND_CLAMP]);
    k.powerClamp = Table(m->table[MDL_POWER_CLAMP]);
    ReadExecutables(m->algorithmic, k);
    k.line = m->line;
    return k;
}

void ReadRecords(const IbisFile* file, void* context) {
    IbisKit& kit = *static_cast<IbisKit*>(context);
    IbisItem* item = nullptr;
    for (IBIS_GetComponents(file, &item); item != nullptr; item = item->next)
        if (item->record != nullptr)
            kit.components.push_back(Component(static_cast<CMPNT_Component*>(item->record)));
    for (IBIS_GetModels(file, &item); item != nullptr; item = item->next)
        if (item->record != nullptr)
            kit.models.push_back(Model(static_cast<MDL_Model*>(item->record)));
}

void Capture(const MsgRecord* record, void* context) {
    if (record->hidden > 0) return;
    KitMessage m;
    m.letter = record->letter;
    m.code = record->code;
    m.line = record->line;
    m.file = record->file != nullptr ? record->file : "";
    m.text = record->text != nullptr ? record->text : "";
    static_cast<IbisKit*>(context)->messages.push_back(std::move(m));
}

}  // namespace

double IvTable::At(double v, Corner corner) const {
    const std::vector<double>& i = current[static_cast<int>(corner)];
    const std::size_t n = voltage.size();
    std::size_t k = static_cast<std::size_t>(std::upper_bound(voltage.begin(), voltage.end(), v) -
                                             voltage.begin());
    k = std::clamp<std::size_t>(k, 1, n - 1);
    const double a = (v - voltage[k - 1]) / (voltage[k] - voltage[k - 1]);
    return i[k - 1] + a * (i[k] - i[k - 1]);
}

const KitPin* KitComponent::Pin(const std::string& pin) const {
    for (const KitPin& p : pins)
        if (p.name == pin) return &p;
    return nullptr;
}

std::string KitComponent::Partner(const std::string& pin) const {
    for (const auto& d : diffPins) {
        if (d.first == pin) return d.second;
        if (d.second == pin) return d.first;
    }
    return "";
}

std::string KitExecutable::Line() const {
    return platform + "_" + compiler + "_" + std::to_string(bits) + " " + codeFile + " " +
           paramFile;
}

std::string KitMessage::Text() const {
    const char* severity = letter == 'B'   ? "bug"
                           : letter == 'E' ? "error"
                           : letter == 'W' ? "warning"
                                           : "note";
    std::string s = std::filesystem::path(file).filename().string();
    if (line > 0) s += ":" + std::to_string(line);
    s += std::string(": ") + severity + ": ";
    for (char c : text) s += c == '\n' ? ' ' : c;
    while (!s.empty() && s.back() == ' ') s.pop_back();
    if (code >= 0) {
        char tag[16];
        std::snprintf(tag, sizeof tag, " [%c%04d]", letter, code);
        s += tag;
    }
    return s;
}

const KitModel* IbisKit::Model(const std::string& name) const {
    for (const KitModel& m : models)
        if (m.name == name) return &m;
    return nullptr;
}

bool ReadIbisKit(const std::string& path, IbisKit& kit, std::string& error) {
    kit = IbisKit();
    kit.path = path;
    const std::filesystem::path p(path);
    kit.directory = p.has_parent_path() ? p.parent_path().string() : ".";
    if (!std::ifstream(path, std::ios::binary)) {
        error = path + ": cannot open";
        return false;
    }
    PARSE_SetSilent(1);
    MSG_SetSink(Capture, &kit);
    CHECK_FileWith(path.c_str(), ReadRecords, &kit);
    MSG_SetSink(nullptr, nullptr);
    PARSE_SetSilent(0);
    kit.read = true;
    return true;
}

}  // namespace amisim
