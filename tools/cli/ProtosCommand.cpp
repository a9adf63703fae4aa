// tarnwick-cli protos: loads the entity proto database and prints one line per
// proto.
#include "tools/cli/CliCommand.h"

#include "content/protos/Database.h"
#include "content/protos/ProtoEntity.h"

#include <cstdio>

int runProtos(const CliArguments&) {
    if (!Database::init()) {
        std::printf("failed to init database\n");
        return 1;
    }
    for (int32_t id = 0; id < Database::protoCount(); ++id)
        Database::getProto(id)->dump();
    return 0;
}
