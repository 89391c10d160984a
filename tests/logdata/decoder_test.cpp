#include "logdata/decoder.h"

#include <gtest/gtest.h>

#include "tests/logdata/packet_builder.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

using test::PacketBuilder;

struct Decoded {
  LogState log;
  ScriptedUi ui;
  bool ok = false;
  Dataset& data() { return log.current(); }
};

void decode(Decoded& d, const PacketBuilder& image, std::uint16_t pulses = 1609) {
  image.load_into(d.log, pulses);
  d.ok = process_data_packets(d.log, d.ui);
}

TEST(DecoderTest, InvalidHeadersStopTheDecodeWithTheirTypeAndLength) {
  for (const auto& [first, text] : {std::pair<std::uint8_t, const char*>{0x00, "t0.b0"}, {0xF8, "t15.b8"},
                                    {0x10, "t1.b0"}}) {
    Decoded d;
    d.data().ch_rpm.setNrOfElem(3);
    d.data().ch_rpm.set(1, 42);
    decode(d, PacketBuilder().raw({first, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.data().decoded_valid, 0);
    ASSERT_EQ(d.ui.messages().size(), 1u);
    EXPECT_EQ(d.ui.messages()[0].text, std::string("Problem Processing Korvanta Data Error: ") + text);
    EXPECT_EQ(d.ui.messages()[0].kind, MsgKind::Error);
    EXPECT_EQ(d.data().ch_rpm.NrOfElem(), 0) << "nothing of the previous decode stays";
    EXPECT_EQ(d.ui.busy_depth(), 0);
  }
}

TEST(DecoderTest, SampleFieldsAndScaling) {
  Decoded d;
  decode(d, PacketBuilder()
                .raw({0x18, 0x7F, 0xFF, 0x10, '4', 77, 0x03, 0xE8})  // rpm 32767, counter 1000
                .raw({0x18, 0x80, 0x00, 0xFF, 0xC3, 0, 0x03, 0xE8})  // speed 511, 'C' with brake
                .raw({0x18, 0x00, 0x00, 0x00, 0x4E, 0, 0x03, 0xE8}));  // 'N'
  ASSERT_TRUE(d.ok);
  const Dataset& ds = d.data();
  EXPECT_DOUBLE_EQ(ds.ch_rpm[1], 327.67);
  EXPECT_EQ(ds.ch_speed[1], 16);
  EXPECT_EQ(ds.ch_gear[1], 4);
  EXPECT_EQ(ds.ch_brake[1], 0);
  EXPECT_EQ(ds.ch_oil_pressure[1], 77);
  EXPECT_EQ(ds.ch_lap_odo[1], 1000.0) << "1000 counts at 1609 pulses per mile";
  EXPECT_EQ(ds.ch_odo[1], 1000.0) << "the first sample's whole lap distance counts";
  EXPECT_EQ(ds.ch_speed[2], 511);
  EXPECT_EQ(ds.ch_gear[2], 4) << "'C' repeats the previous gear";
  EXPECT_EQ(ds.ch_brake[2], 1);
  EXPECT_EQ(ds.ch_gear[3], 0) << "'N' is neutral";
  EXPECT_EQ(ds.ch_time[3], 0.1 + 0.1 + 0.1) << "time is the running sum";
  EXPECT_EQ(ds.ch_speed[0], 0);
  EXPECT_EQ(ds.ch_speed[4], 0);
  EXPECT_EQ(d.ui.texts(), std::vector<std::string>{"Processed 24 bytes of Data"});
}

TEST(DecoderTest, LapTimesAndSplitsAreFlooredAfterSinglePrecision) {
  Decoded d;
  decode(d, PacketBuilder()
                .at(10)
                .lap(1, 83456)
                .splits(0x05, 12345, 12345, 12345)
                .lap(2, 83450)
                .at(20));
  ASSERT_TRUE(d.ok);
  const auto& laps = d.data().lap_table;
  ASSERT_EQ(laps.size(), 2u);
  EXPECT_EQ(laps[0].lap_time, 83.45f);
  EXPECT_EQ(laps[0].lap_distance, 1000.0f);
  EXPECT_EQ(laps[0].split_signs, 0x05);
  EXPECT_EQ(laps[0].split[0], 12.34f);
  EXPECT_EQ(laps[0].split[1], -12.34f) << "sign bit clear";
  EXPECT_EQ(laps[0].split[2], 12.34f);
  EXPECT_EQ(laps[1].lap_time, 83.44f);
  EXPECT_EQ(laps[1].split_signs, 0);
  EXPECT_EQ(laps[1].split, (std::array<float, 3>{0, 0, 0}));
  EXPECT_EQ(d.data().sample_count(), 2);
}

TEST(DecoderTest, SplitPacketCountsOnlyRightAfterALapRecord) {
  Decoded d;
  decode(d, PacketBuilder().at(10).splits(0x07, 1000, 2000, 3000).lap(1, 60000).at(20).splits(7, 1, 2, 3));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.data().packet_count[3], 2u);
  EXPECT_EQ(d.data().lap_table[0].split_signs, 0);
  EXPECT_EQ(d.data().sample_count(), 2);
  EXPECT_EQ(d.data().ch_lap_odo[2], 20) << "the sample after the record is still decoded";
}

TEST(DecoderTest, SessionsRestartWhenTheLapCountDoes) {
  Decoded d;
  PacketBuilder image;
  for (int lap : {1, 2, 3, 1, 2}) image.at(100).at(50).lap(static_cast<std::uint8_t>(lap), 60000);
  decode(d, image);
  ASSERT_TRUE(d.ok);
  std::vector<int> sessions;
  for (const auto& rec : d.data().lap_table) sessions.push_back(rec.session);
  EXPECT_EQ(sessions, (std::vector<int>{1, 1, 1, 2, 2}));
}

TEST(DecoderTest, SamplesBelongToTheLapThatEndsAfterThem) {
  Decoded d;
  decode(d, PacketBuilder()
                .at(100).at(200).at(50)   // the lap distance drops at sample 3
                .lap(7, 30000)
                .at(150).at(10)           // and again at sample 5
                .lap(8, 31000)
                .at(60));
  ASSERT_TRUE(d.ok);
  const Dataset& ds = d.data();
  EXPECT_EQ(ds.lap_table[0].end_time, ds.ch_time[3]);
  EXPECT_EQ(ds.lap_table[1].end_time, ds.ch_time[5]);
  const std::vector<double> lap = {7, 7, 8, 8, 9, 9};
  const std::vector<double> lap_time = {30, 30, 31, 31, 31, 31};
  for (long i = 1; i <= 6; ++i) {
    EXPECT_EQ(ds.ch_lap[i], lap[static_cast<std::size_t>(i - 1)]) << i;
    EXPECT_EQ(ds.ch_session[i], 1) << i;
    EXPECT_EQ(ds.ch_lap_time[i], lap_time[static_cast<std::size_t>(i - 1)]) << i;
  }
  EXPECT_EQ(ds.ch_odo[6], 100.0 + 100 + 100 + 50) << "drops do not count";
}

TEST(DecoderTest, SlowChannelsAreHeldFromTheSampleBeforeThem) {
  Decoded d;
  decode(d, PacketBuilder()
                .slow(80, 70, 11, 1, 50)  // before the first sample: no effect
                .at(1)
                .at(2)
                .raw({0x48, 0xFF, 0x10, 0x01, 0x20, 12, 5, 66})  // oil 272, water 288, 12.5 V
                .at(3));
  ASSERT_TRUE(d.ok);
  const Dataset& ds = d.data();
  EXPECT_EQ(ds.ch_oil_temp[1], 0);
  EXPECT_EQ(ds.ch_battery[1], 0);
  for (long i : {2L, 3L}) {
    EXPECT_EQ(ds.ch_oil_temp[i], 272) << i;
    EXPECT_EQ(ds.ch_water_temp[i], 288) << i;
    EXPECT_EQ(ds.ch_battery[i], 12.5) << i;
    EXPECT_EQ(ds.ch_fuel[i], 66) << i;
  }
}

TEST(DecoderTest, SlowChannelsWithoutASlowPacketKeepTheirLength) {
  Decoded d;
  d.data().ch_fuel.setNrOfElem(50);
  d.data().ch_fuel.set(40, 9);
  PacketBuilder image;
  for (int i = 0; i < 30; ++i) image.at(static_cast<std::uint16_t>(i));
  decode(d, image);
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.data().ch_fuel.NrOfElem(), 50);
  EXPECT_EQ(d.data().ch_fuel[30], 0);
  EXPECT_EQ(d.data().ch_water_temp.NrOfElem(), 0) << "never sized: nothing to smooth";
}

TEST(DecoderTest, OnlyLogsOfMoreThan25SamplesAreSmoothed) {
  for (int count : {25, 26}) {
    Decoded d;
    PacketBuilder image;
    for (int i = 0; i < count; ++i) image.sample(i % 2 ? 3000 : 5000, 100, '2', false, 50, 0);
    decode(d, image);
    ASSERT_TRUE(d.ok);
    const bool raw = d.data().ch_rpm[14] == 30 && d.data().ch_rpm[15] == 50;
    EXPECT_EQ(raw, count == 25) << count;
  }
}

TEST(DecoderTest, NoSamplePacketMeansNoValidData) {
  Decoded d;
  decode(d, PacketBuilder().slow(1, 2, 3, 4, 5).lap(1, 1000));
  EXPECT_FALSE(d.ok);
  EXPECT_EQ(d.ui.texts(), std::vector<std::string>{"No Valid Data Found"});
  EXPECT_EQ(d.ui.messages()[0].kind, MsgKind::Information);
  EXPECT_EQ(d.data().packet_count[2], 0u);
}

// Whatever makes a decode fail, the samples, laps and counts of the log
// decoded before it must be gone, so no export or plot can show them as this
// image's.
TEST(DecoderTest, AFailedDecodeLeavesNothingOfTheEarlierLog) {
  struct Failure {
    const char* name;
    PacketBuilder image;
    std::uint16_t pulses;
  };
  const Failure failures[] = {{"bad header", PacketBuilder().at(10).raw({0xF8, 0, 0, 0, 0, 0, 0, 0}), 1609},
                              {"no sample", PacketBuilder().slow(1, 2, 3, 4, 5).lap(1, 1000), 1609},
                              {"no distance scale", PacketBuilder().at(10), 0}};
  for (const auto& failure : failures) {
    Decoded d;
    PacketBuilder earlier;
    for (int i = 0; i < 30; ++i) earlier.at(static_cast<std::uint16_t>(100 * (i % 10)));
    earlier.slow(80, 70, 12, 5, 50).lap(1, 60000).splits(7, 1000, 2000, 3000).at(5);
    decode(d, earlier);
    ASSERT_TRUE(d.ok);
    ASSERT_EQ(d.data().sample_count(), 31);
    ASSERT_EQ(d.data().lap_table.size(), 1u);

    decode(d, failure.image, failure.pulses);
    const Dataset& ds = d.data();
    EXPECT_FALSE(d.ok) << failure.name;
    EXPECT_EQ(ds.decoded_valid, 0) << failure.name;
    EXPECT_EQ(ds.packet_count, (std::array<std::uint32_t, kPacketTypes>{})) << failure.name;
    EXPECT_TRUE(ds.lap_table.empty()) << failure.name;
    for (const TVector* ch : {&ds.ch_time, &ds.ch_rpm, &ds.ch_speed, &ds.ch_gear, &ds.ch_brake,
                              &ds.ch_oil_pressure, &ds.ch_oil_temp, &ds.ch_water_temp, &ds.ch_battery, &ds.ch_fuel,
                              &ds.ch_odo, &ds.ch_lap_odo, &ds.ch_lap, &ds.ch_session, &ds.ch_lap_time}) {
      EXPECT_EQ(ch->NrOfElem(), 0) << failure.name;
    }
    EXPECT_EQ(ds.memory_valid, 1) << failure.name << ": the image itself may still be saved";
  }
}

TEST(DecoderTest, ZeroPulsesPerMileRefusesTheDecodeButKeepsTheImage) {
  Decoded d;
  decode(d, PacketBuilder().at(10), 0);
  EXPECT_FALSE(d.ok);
  EXPECT_EQ(d.data().decoded_valid, 0);
  EXPECT_EQ(d.data().memory_valid, 1);
  EXPECT_EQ(d.ui.texts(), std::vector<std::string>{"Problem Processing Korvanta Data Error: Pulses per Mile is 0"});
}

TEST(DecoderTest, NeverReadsPastTheImageWhateverUsedBytesSays) {
  Decoded d;
  PacketBuilder().at(10).at(20).load_into(d.log);
  d.data().used_bytes = 100000;  // longer than the image
  d.data().raw_memory.push_back(0x18);  // a packet header cut off by the end of the image
  EXPECT_TRUE(process_data_packets(d.log, d.ui));
  EXPECT_EQ(d.data().sample_count(), 3);
  EXPECT_EQ(d.data().ch_lap_odo[3], 0) << "bytes past the end read as 0";
}

TEST(DecoderTest, DecodesOnlyTheCurrentDataset) {
  Decoded d;
  d.log.current_data_set = kDataSetB;
  decode(d, PacketBuilder().at(10));
  EXPECT_EQ(d.log.dataset(kDataSetB).decoded_valid, 1);
  EXPECT_EQ(d.log.dataset(kDataSetA).decoded_valid, 0);
  EXPECT_EQ(d.log.dataset(kDataSetA).ch_time.NrOfElem(), 0);
}

// A log of 26 samples, the fewest that are smoothed, with the expected values
// worked out from the smoothing rule by hand (exact fractions), not by this
// code. Engine speed takes the 15-sample window, water temperature the
// 25-sample one after its first 11 samples were filled from sample 11.
TEST(DecoderTest, TwentySixSamplesSmoothWorkedOutByHand) {
  constexpr std::array<int, 26> kRpmHundreds = {20, 22, 25, 28, 30, 31, 30, 28, 24, 18, 10, 4, 0,
                                                0,  0,  0,  0,  0,  0,  250, 0, 0, 0, 0, 0, 0};
  PacketBuilder image;
  for (std::size_t i = 1; i <= kRpmHundreds.size(); ++i) {
    image.sample(static_cast<std::uint16_t>(kRpmHundreds[i - 1] * 100), 100, '3', false, 40, 0);
    // Water 0, 0, then 70 from sample 3, 90 at 11, 80 from 12, 95 from 20.
    for (const auto& [after, water] : {std::pair<std::size_t, std::uint16_t>{3, 70}, {11, 90}, {12, 80}, {20, 95}}) {
      if (i == after) image.slow(60, water, 12, 0, 50);
    }
  }
  Decoded d;
  decode(d, image);
  ASSERT_TRUE(d.ok);
  ASSERT_EQ(d.data().sample_count(), 26);

  // Centres 8 … 19, each window already holding the results left of it;
  // samples 1-7 repeat sample 8 and 20-26 repeat sample 19. The spike at 20
  // drives samples 13 and 14 below zero (-13.32, -3.08), which become 0.
  constexpr std::array<double, 26> kRpm = {
      24.88235294118, 24.88235294118, 24.88235294118, 24.88235294118, 24.88235294118, 24.88235294118,
      24.88235294118, 24.88235294118, 20.67867979771, 15.85941358333, 11.1317990856,  7.24637908581,
      0,              0,              7.558810586039, 18.25887296529, 28.92078895928, 39.14189505342,
      48.37670998897, 48.37670998897, 48.37670998897, 48.37670998897, 48.37670998897, 48.37670998897,
      48.37670998897, 48.37670998897};
  for (long i = 1; i <= 26; ++i) EXPECT_NEAR(d.data().ch_rpm[i], kRpm[static_cast<std::size_t>(i - 1)], 1e-9) << i;

  // After the fill the water reads 90 up to sample 11, 80 up to 19 and 95
  // from 20. Weights 467 (centre), then 462 … -253; normaliser 5175. Centre
  // 13: (90 * 1892 + 80 * 3276 + 95 * 7) / 5175 = 17321/207; centre 14 then
  // sees the first result at 13: 29984534/357075. 1-12 repeat the first,
  // 15-26 the second.
  for (long i = 1; i <= 26; ++i) {
    EXPECT_NEAR(d.data().ch_water_temp[i], i <= 13 ? 83.67632850242 : 83.9726500035, 1e-9) << i;
  }
}

TEST(PolynomialSmoothTest, RefusesBadArguments) {
  TVector v(30), small(10);
  EXPECT_EQ(PolynomialSmooth(&small, 1, 10, 11, &small),
            "PolynomialSmooth: specified range for smoothing is smaller than the length of the polynomial");
  EXPECT_EQ(PolynomialSmooth(&v, 1, 30, 27, &v), "PolynomialSmooth: length of polynomial is out of range");
  EXPECT_EQ(PolynomialSmooth(&v, 1, 30, 3, &v), "PolynomialSmooth: length of polynomial is out of range");
  EXPECT_EQ(PolynomialSmooth(&v, 1, 30, 6, &v), "PolynomialSmooth: length of polynomial must be odd");
  EXPECT_EQ(PolynomialSmooth(nullptr, 1, 30, 5, &v), "PolynomialSmooth: either SourceVec or DestVec is undefined");
  EXPECT_EQ(PolynomialSmooth(&v, 30, 1, 5, &v), std::nullopt) << "reversed indexes are swapped";
}

TEST(PolynomialSmoothTest, KeepsAQuadraticAndFillsTheEnds) {
  TVector source(12), out(12);
  for (long i = 1; i <= 12; ++i) source.set(i, 0.5 * i * i - 3.0 * i + 7);
  ASSERT_EQ(PolynomialSmooth(&source, 1, 12, 5, &out), std::nullopt);
  for (long i = 3; i <= 10; ++i) EXPECT_NEAR(out[i], source[i], 1e-9) << i;
  EXPECT_EQ(out[1], out[3]);
  EXPECT_EQ(out[2], out[3]);
  EXPECT_EQ(out[11], out[10]);
  EXPECT_EQ(out[12], out[10]);
}

TEST(PolynomialSmoothTest, InPlaceSmoothingFeedsEachResultIntoTheNextWindow) {
  // A single spike: the separate smoothing spreads it symmetrically, the
  // in-place one feeds its earlier results forward.
  TVector spike(20);
  spike.set(10, 35);
  TVector separate(20);
  ASSERT_EQ(PolynomialSmooth(&spike, 1, 20, 5, &separate), std::nullopt);
  // Window 5 weights: -3, 12, 17, 12, -3 over 35.
  EXPECT_DOUBLE_EQ(separate[8], -3.0);
  EXPECT_DOUBLE_EQ(separate[10], 17.0);
  EXPECT_DOUBLE_EQ(separate[12], -3.0);
  TVector in_place = spike;
  ASSERT_EQ(PolynomialSmooth(&in_place, 1, 20, 5, &in_place), std::nullopt);
  EXPECT_DOUBLE_EQ(in_place[8], -3.0);
  EXPECT_DOUBLE_EQ(in_place[9], (17.0 * 0 + 12.0 * (-3.0 + 35) - 3.0 * (0 + 0)) / 35);
}

}  // namespace
}  // namespace kv
