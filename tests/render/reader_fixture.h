#pragma once

#include <gtest/gtest.h>

#include <string>

#include "render/chunk_builder.h"
#include "render/loader_3ds.h"
#include "support/captured_errors.h"

class Reader3dsTest : public ::testing::Test {
  protected:
    bool read(const chunks::Bytes& bytes) {
        model = Model3ds{};
        Loader3ds loader;
        return loader.importBytes(model, bytes.data(), bytes.size(), "test.3ds");
    }

    std::string lastMessage() const {
        return errors.texts().empty() ? std::string() : errors.texts().back();
    }

    Model3ds model;
    testing_support::CapturedErrors errors;
};
